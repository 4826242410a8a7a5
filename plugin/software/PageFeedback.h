#pragma once

#include <QPointer>
#include <QString>

class LoadingDialog;
class QWidget;

// What a page of the plug-in shows while it waits and when a service call
// fails, the same way on every page: the busy indicator, notices that only
// a page the user is looking at shows, and the service's verdict on the
// sign-in.
class PageFeedback
{
public:
    PageFeedback(QWidget *page, int busyLimit, int noticeTime);
    ~PageFeedback();
    PageFeedback(const PageFeedback &) = delete;
    PageFeedback &operator=(const PageFeedback &) = delete;

    // Opens the indicator, or reopens it with a fresh limit.
    void showBusy();
    void closeBusy();
    void notify(const QString &text) const;
    // A failed call: a rejected sign-in is answered in a box titled `title`
    // and ends the program for a restart (exit code 886) once confirmed;
    // any other code is a notice with the code's message.
    void serviceFailed(int code, const QString &title);

private:
    QWidget *mPage;
    int mBusyLimit;
    int mNoticeTime;
    QPointer<LoadingDialog> mBusy;
};
