#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPropertyAnimation;
class QTimer;

// The transient notification: fades in over the main window, stays for
// the display time and fades out. One window, reused for every message.
class Toast : public QWidget
{
    Q_OBJECT
public:
    static constexpr qreal PeakOpacity = 0.8;

    // The shared toast, built with `parent` on the first call (or again
    // after the window it belonged to has gone).
    static Toast *instance(QWidget *parent = nullptr);

    void setMessageVDuration(const QString &msg, int msecDisplayTime = 3000);

    QString text() const;
    int displayTime() const { return mDisplayTime; }
    // Length of each fade; shortened by tests.
    void setFadeDuration(int msec) { mFadeDuration = msec; }
    int fadeDuration() const { return mFadeDuration; }

public slots:
    void timeOver();
    void fadeInAnimationFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit Toast(QWidget *parent);
    void placeOverMainWindow();
    void fitLabelTo(const QString &msg);

    QLabel *mLabel = nullptr;
    int mDisplayTime = 5000;
    int mFadeDuration = 1500;
    QTimer *mTimer = nullptr;
    QPropertyAnimation *mAnimation = nullptr;

    static QPointer<Toast> sInstance;
};
