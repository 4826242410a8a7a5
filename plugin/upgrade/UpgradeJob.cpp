#include "UpgradeJob.h"

UpgradeJob::UpgradeJob(const Package &package, QObject *parent)
    : QObject(parent)
    , mPackage(package)
{
    qRegisterMetaType<UpgradeJob::Result>();
}
