#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QMovie;
class QTimer;

// The busy indicator: an animated picture on a faint layer that covers the
// main window below its title bar and takes the clicks meant for the page.
class LoadingDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char *Picture = ":/gifs/Resources/images/gifs/loading.gif";

    // A new indicator over the main window (else under `parent`), open
    // until onTimeout() after `msec` or until its owner closes it.
    static LoadingDialog *showLoading(QWidget *parent, int msec);

    explicit LoadingDialog(QWidget *parent = nullptr);

    // Reopens the indicator with a fresh limit; an earlier limit no longer counts.
    void showAgain(int msec);
    bool isTimerActive() const;

public slots:
    void onTimeout();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void hideEvent(QHideEvent *event) override;

private:
    void openFor(int msec);

    QLabel *mLabel = nullptr;
    QMovie *mMovie = nullptr;
    QTimer *mTimer = nullptr;
    // Where the keyboard was before the indicator took it.
    QPointer<QWidget> mPreviousFocus;
};
