#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A private copy of the Ostrel program, run as a real process on the test's
// X display. The copy's folder is writable, so the program keeps its data
// (settings files, busy flags) there and never in the shared build folder;
// its single-instance lock is its own as well, since that follows the path.
class ProgramUnderTest
{
public:
    // Copies the program from the build into `folder` (created).
    explicit ProgramUnderTest(const QString &folder);
    ~ProgramUnderTest(); // ends what is still running

    QString folder() const { return mFolder; }
    QString executable() const { return mFolder + QStringLiteral("/Ostrel"); }
    QString file(const QString &name) const { return mFolder + QLatin1Char('/') + name; }
    bool ready() const { return mReady; }
    bool addPlugin(const QString &source, const QString &name);

    // Starts one more copy; index 0 is the first.
    QProcess *start();
    // A copy as another session starts it: without a runtime folder.
    QProcess *startWithoutRuntimeFolder();
    // Starts a copy through a shell, its output a pipe whose reader has
    // already exited; the shell is returned (find the copy by runningCopies()).
    QProcess *startWithOutputGone();
    QProcess *process(int index) const { return mRuns.at(index).get(); }

    // Visible top-level windows of a process, and their frames on screen.
    static QStringList windows(qint64 pid);
    static QRect geometry(const QString &window);
    // Waits for a visible window of `pid` of that size (any size when empty).
    static QString waitForWindow(qint64 pid, const QSize &size = QSize(), int timeoutMs = 30000);
    static bool pressKey(const QString &window, const QString &key);
    // Types into the login dialog's fields, as a user would, and presses Return.
    static bool signIn(const QString &loginWindow, const QString &account, const QString &password);
    static bool click(const QPoint &at);

    // Processes whose program file is this copy, with their arguments
    // (argv[1..]).
    QList<QPair<qint64, QStringList>> runningCopies() const;
    // This process's environment with `home` as the home and its XDG
    // folders below it, and `runtime` as the runtime folder.
    static QProcessEnvironment privateHome(const QString &home, const QString &runtime);

private:
    QProcessEnvironment environment() const;
    QProcess *launch(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment);
    static QString xdotool(const QStringList &arguments, bool *ok = nullptr);

    QString mFolder;
    QTemporaryDir mRuntime{QStringLiteral("/tmp/ostrel-rt-XXXXXX")};
    bool mReady = false;
    std::vector<std::unique_ptr<QProcess>> mRuns;
};
