#include "ExitRequest.h"

#include "AppLog.h"
#include "AppSettings.h"
#include "GlobalMutex.h"
#include "MessageBoxDialog.h"
#include "NamedMutex.h"
#include "UninstallView.h"

#include <QCoreApplication>

bool ExitRequest::mayExit(QWidget *window, UninstallView *uninstallPage)
{
    if (GlobalMutex::isEmpty()) {
        NamedMutex *mutex = GlobalMutex::create();
        if (mutex->alreadyExisted()) {
            qCDebug(lcApp) << "exit: global mutex held elsewhere";
            return false;
        }
        if (!mutex->wait())
            return false;
    }

    if (AppSettings::isDownloading()) {
        const auto answer = MessageBoxDialog::showMessageBox(
            window, QCoreApplication::translate("Uninstall", "Tips"),
            QCoreApplication::translate("Uninstall",
                                        "The model is upgrading. Closing may result in the car not "
                                        "working properly. Is it turned off?"),
            QMessageBox::Ok | QMessageBox::No);
        if (answer == QMessageBox::No)
            return false;
    }

    if (uninstallPage && uninstallPage->isBusy() && !uninstallPage->OnExit())
        return false;
    return true;
}
