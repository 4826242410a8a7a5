#include "LinuxPlatform.h"

#include "DBusSleepInhibitor.h"
#include "FlockNamedMutex.h"
#include "LinuxVolumes.h"
#include "SleepInhibition.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
QList<QPointer<LinuxVolumes>> gLiveVolumes;

// How long xdg-open may take to say whether the desktop has something to
// open a file with; most hand the file over and return at once.
constexpr int OpenerVerdictMs = 2000;

// The process-wide platform outlives the application object; its watchers
// must go while the event machinery still exists.
void dropVolumes()
{
    for (const QPointer<LinuxVolumes> &volumes : qAsConst(gLiveVolumes))
        delete volumes.data();
    gLiveVolumes.clear();
}
} // namespace

LinuxPlatform::LinuxPlatform() = default;

LinuxPlatform::~LinuxPlatform()
{
    delete mVolumes.data();
}

Volumes *LinuxPlatform::volumes()
{
    if (!mVolumes) {
        mVolumes = new LinuxVolumes;
        if (gLiveVolumes.isEmpty())
            qAddPostRoutine(dropVolumes);
        gLiveVolumes.append(mVolumes);
    }
    return mVolumes;
}

std::unique_ptr<NamedMutex> LinuxPlatform::createNamedMutex(const QString &name)
{
    return std::make_unique<FlockNamedMutex>(name);
}

std::unique_ptr<SleepInhibition> LinuxPlatform::inhibitSleep(const QString &reason)
{
    return DBusSleepInhibitor::inhibit(QStringLiteral("Ostrel"), reason);
}

bool LinuxPlatform::openWithDefaultApplication(const QString &path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    // Its exit status tells whether anything took the file: started
    // detached, a desktop with no handler would look like one that opened it.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({path});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (process->waitForFinished(OpenerVerdictMs)) {
        const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return opened;
    }
    // Still running: the handler it started is at work; left to end alone.
    QObject::connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), process,
                     &QObject::deleteLater);
    return true;
}
