#pragma once

#include <QStackedWidget>

class QLabel;
class QPushButton;

// The plug-in's page container. The host decides its size and place; where
// part of it lies outside the host's window (the host gives it more height
// than is left below its title bar), the pages are laid out in the part
// that shows, so that no page loses its bottom.
class PageContainer : public QStackedWidget
{
    Q_OBJECT
public:
    explicit PageContainer(QWidget *parent = nullptr);

    // The part of the container inside its window (or inside the content
    // of the scroll area that holds it), in its own coordinates.
    QRect visibleRect() const;

    // Gives a page of the plug-in its white background and its bold title
    // label "title", which the page lays out.
    static QLabel *dressPage(QWidget *page, const QString &title);
    // A button of a page's bottom row, named `name`: `filled` for the one
    // that goes on, else outlined.
    static QPushButton *makeButton(QWidget *page, const QString &text, const char *name, bool filled);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void fitPages();
};
