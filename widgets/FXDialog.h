#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QLayout;

// The frame of every modal box: a white panel with a blue title row,
// centred on a dimmed layer that lies exactly over the main window.
class FXDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FXDialog(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;
    // Installs `layout` on the content area below the title.
    void setContentLayout(QLayout *layout);

    QWidget *panel() const { return mPanel; }
    QWidget *contentArea() const { return mContent; }

    // What the dimmed layer shows beneath the panel when the display cannot
    // blend windows; null otherwise.
    QPixmap backdrop() const { return mBackdrop; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *mPanel = nullptr;
    QLabel *mTitle = nullptr;
    QWidget *mContent = nullptr;
    QPixmap mBackdrop;
};
