#pragma once

// A card that lies (lying_card.py, a FUSE file system over a backing
// folder that stores writes faithfully and changes the first byte of a
// chosen file whenever it is read back), mounted for one test.
#include "TestEnv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <sys/vfs.h>

class LyingCard
{
public:
    ~LyingCard() { unmount(); }

    // Why no such card can be had on this machine: only a missing FUSE
    // device is a reason to skip; anything else missing is a fault of the
    // machine's set-up (tools/debian-packages.txt names what it needs).
    static bool hasFuse() { return QFile::exists(QStringLiteral("/dev/fuse")); }

    // Mounts `backing` at `mountPoint`, lying about files named `lie` (none
    // when empty). False with error() when it does not come up.
    bool mount(const QString &backing, const QString &mountPoint, const QString &lie = QString())
    {
        unmount();
        QStringList args{TestEnv::sourceDir() + QStringLiteral("/tests/plugin/records/lying_card.py"), backing,
                         mountPoint};
        if (!lie.isEmpty())
            args << lie;
        // The system's Python, which Debian's python3-fusepy belongs to.
        mProcess.start(QStringLiteral("/usr/bin/python3"), args);
        QElapsedTimer timer;
        timer.start();
        while (!isMounted(mountPoint)) {
            // Waiting on the process also notices it ending.
            if (mProcess.waitForFinished(20) || mProcess.state() == QProcess::NotRunning || timer.elapsed() > 10000) {
                mError = QString::fromLocal8Bit(mProcess.readAllStandardError());
                if (mError.isEmpty())
                    mError = mProcess.errorString();
                mProcess.kill();
                mProcess.waitForFinished();
                return false;
            }
        }
        mMountPoint = mountPoint;
        return true;
    }

    void unmount()
    {
        if (mProcess.state() != QProcess::NotRunning) {
            mProcess.terminate(); // the file system unmounts itself
            if (!mProcess.waitForFinished(5000))
                mProcess.kill();
            mProcess.waitForFinished();
        }
        if (!mMountPoint.isEmpty() && isMounted(mMountPoint))
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mMountPoint});
        mMountPoint.clear();
    }

    QString error() const { return mError; }

private:
    static bool isMounted(const QString &path)
    {
        struct statfs fs;
        return ::statfs(QFile::encodeName(path).constData(), &fs) == 0 && fs.f_type == 0x65735546; // FUSE
    }

    QProcess mProcess;
    QString mMountPoint;
    QString mError;
};
