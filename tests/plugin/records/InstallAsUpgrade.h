#pragma once

// Installs a package's archive as an upgrade does (ArchiveInstall in a
// pool of its own), which also records it in the history and, when it
// succeeds, keeps its manifest.
#include "ArchiveInstall.h"
#include "JobDispatcher.h"

#include <QSignalSpy>

inline UpgradeJob::Result installAsUpgrade(const Package &package, const QString &archive)
{
    JobDispatcher jobs;
    ArchiveInstall job(package, archive, &jobs);
    job.setDeleteArchive(false);
    QSignalSpy finished(&job, &UpgradeJob::finished);
    job.start();
    if (finished.isEmpty() && !finished.wait(30000))
        return UpgradeJob::Result::failed(UpgradeJob::Failure::None, QStringLiteral("the install did not end"));
    return finished.first().first().value<UpgradeJob::Result>();
}
