#include "PageFeedback.h"

#include "LoadingDialog.h"
#include "MessageBoxDialog.h"
#include "Toast.h"

#include <Sornet/Code.h>

#include <QCoreApplication>
#include <QWidget>

namespace {
constexpr int RestartCode = 886;
} // namespace

PageFeedback::PageFeedback(QWidget *page, int busyLimit, int noticeTime)
    : mPage(page)
    , mBusyLimit(busyLimit)
    , mNoticeTime(noticeTime)
{
}

PageFeedback::~PageFeedback()
{
    // It may stand over the main window rather than below the page.
    delete mBusy.data();
}

void PageFeedback::showBusy()
{
    if (mBusy)
        mBusy->showAgain(mBusyLimit);
    else
        mBusy = LoadingDialog::showLoading(mPage, mBusyLimit);
}

void PageFeedback::closeBusy()
{
    if (mBusy)
        mBusy->onTimeout();
}

void PageFeedback::notify(const QString &text) const
{
    if (text.isEmpty() || !mPage->isVisible() || !mPage->window()->isActiveWindow())
        return;
    Toast::instance(mPage->window())->setMessageVDuration(text, mNoticeTime);
}

void PageFeedback::serviceFailed(int code, const QString &title)
{
    const Code codes;
    if (code == Code::CODE_ERROR_TOKEN) {
        closeBusy();
        const auto answer =
            MessageBoxDialog::showMessageBox(mPage, title, codes.getMessageByCode(code), QMessageBox::Ok);
        if (answer == QMessageBox::Ok)
            QCoreApplication::exit(RestartCode);
        return;
    }
    notify(codes.getMessageByCode(code));
}
