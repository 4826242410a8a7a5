#include "ProgramUnderTest.h"

#include "TestEnv.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>

ProgramUnderTest::ProgramUnderTest(const QString &folder)
    : mFolder(folder)
{
    QDir().mkpath(folder);
    // A copy, not a link: the program finds its folder through the resolved
    // path of its executable.
    mReady = QFile::copy(TestEnv::buildBinDir() + QStringLiteral("/Ostrel"), executable());
    // It finds its libraries beside itself, as an installed copy does.
    const QDir bin(TestEnv::buildBinDir());
    for (const QString &library : bin.entryList({QStringLiteral("lib*.so.*")}, QDir::Files | QDir::System))
        mReady = QFile::link(bin.filePath(library), folder + QLatin1Char('/') + library) && mReady;
}

ProgramUnderTest::~ProgramUnderTest()
{
    for (auto &run : mRuns) {
        if (run->state() != QProcess::NotRunning) {
            run->kill();
            run->waitForFinished(5000);
        }
    }
    // Copies started by a restart are not our children; end them by id.
    for (const auto &copy : runningCopies())
        ::kill(pid_t(copy.first), SIGKILL);
}

bool ProgramUnderTest::addPlugin(const QString &source, const QString &name)
{
    QDir().mkpath(file(QStringLiteral("plugins")));
    return QFile::copy(source, file(QStringLiteral("plugins/")) + name);
}

QProcessEnvironment ProgramUnderTest::privateHome(const QString &home, const QString &runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    return env;
}

QProcessEnvironment ProgramUnderTest::environment() const
{
    // Its own home and runtime folder even when the test is run by hand: the
    // program writes an autostart entry and a desktop shortcut, and its exit
    // guard is a lock named alike for every copy of the user.
    const QString home = file(QStringLiteral("home"));
    // Short: the instance socket lives there, and socket paths are limited
    // to about a hundred bytes.
    const QString runtime = mRuntime.path();
    QDir().mkpath(home);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = privateHome(home, runtime);
    // The program's own debug lines ("append: ...") are part of what is checked.
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("ostrel.app.debug=true"));
    return env;
}

QProcess *ProgramUnderTest::launch(const QString &program, const QStringList &arguments,
                                   const QProcessEnvironment &environment)
{
    std::unique_ptr<QProcess> process;
    // On a loaded machine the virtual X server now and then refuses a new
    // client during its connection set-up; the copy then ends at once,
    // before anything of its own ran. That is the test display's fault,
    // not the program's, so such a start is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(mFolder);
        process->start(program, arguments);
        process->waitForStarted(10000);
        if (program != executable() || !process->waitForFinished(1000))
            break;
        // Looked at, not taken: the test may want to read it too.
        process->setReadChannel(QProcess::StandardError);
        const QByteArray output = process->peek(process->bytesAvailable());
        process->setReadChannel(QProcess::StandardOutput);
        if (!output.contains("could not connect to display"))
            break;
        qWarning("the test display refused the program; starting it again");
    }
    mRuns.push_back(std::move(process));
    return mRuns.back().get();
}

QProcess *ProgramUnderTest::start()
{
    return launch(executable(), QStringList(), environment());
}

QProcess *ProgramUnderTest::startWithoutRuntimeFolder()
{
    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    return launch(executable(), QStringList(), env);
}

QProcess *ProgramUnderTest::startWithOutputGone()
{
    // The reader of the pipe, the shell's no-op, is gone before the program
    // has loaded its libraries.
    return launch(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("\"$0\" 2>&1 | :"), executable()},
                  environment());
}

QString ProgramUnderTest::xdotool(const QStringList &arguments, bool *ok)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool finished = tool.waitForFinished(10000);
    if (ok)
        *ok = finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (!finished)
        tool.kill();
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

QStringList ProgramUnderTest::windows(qint64 pid)
{
    const QString out = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                 QString::number(pid)});
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QRect ProgramUnderTest::geometry(const QString &window)
{
    const QString out = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QRect rect;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (line.startsWith(QLatin1String("X=")))
            rect.moveLeft(value);
        else if (line.startsWith(QLatin1String("Y=")))
            rect.moveTop(value);
        else if (line.startsWith(QLatin1String("WIDTH=")))
            rect.setWidth(value);
        else if (line.startsWith(QLatin1String("HEIGHT=")))
            rect.setHeight(value);
    }
    return rect;
}

namespace {
// Not ended, and not an unreaped zombie either.
bool running(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int end = line.lastIndexOf(')');
    return end >= 0 && line.size() > end + 2 && line.at(end + 2) != 'Z';
}
} // namespace

QString ProgramUnderTest::waitForWindow(qint64 pid, const QSize &size, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    do {
        for (const QString &window : windows(pid)) {
            if (size.isEmpty() || geometry(window).size() == size)
                return window;
        }
        // A copy that has ended shows nothing any more.
        if (!running(pid))
            return QString();
        // Every look is another client of the X server; a slower pace
        // keeps a starved server from falling behind.
        QThread::msleep(250);
    } while (!deadline.hasExpired());
    return QString();
}

bool ProgramUnderTest::pressKey(const QString &window, const QString &key)
{
    bool ok = false;
    // There is no window manager on the test display: give the window the
    // input focus directly, then type.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, &ok);
    if (!ok)
        return false;
    xdotool({QStringLiteral("key"), key}, &ok);
    return ok;
}

bool ProgramUnderTest::signIn(const QString &loginWindow, const QString &account, const QString &password)
{
    // The dialog opens with the cursor in the account field: type at once.
    bool ok = false;
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), loginWindow}, &ok);
    if (!ok)
        return false;
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), account}, &ok);
    if (ok)
        xdotool({QStringLiteral("key"), QStringLiteral("Tab")}, &ok);
    if (ok)
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), password}, &ok);
    if (ok)
        xdotool({QStringLiteral("key"), QStringLiteral("Return")}, &ok);
    return ok;
}

bool ProgramUnderTest::click(const QPoint &at)
{
    bool ok = false;
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("1")},
            &ok);
    return ok;
}

QList<QPair<qint64, QStringList>> ProgramUnderTest::runningCopies() const
{
    QList<QPair<qint64, QStringList>> copies;
    const QString target = QFileInfo(executable()).canonicalFilePath();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QString proc = QStringLiteral("/proc/") + entry;
        if (QFileInfo(proc + QStringLiteral("/exe")).symLinkTarget() != target)
            continue;
        QFile cmdline(proc + QStringLiteral("/cmdline"));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        // A process that has exited but not been reaped has no arguments left.
        const QByteArray raw = cmdline.readAll();
        if (raw.isEmpty())
            continue;
        QStringList arguments;
        for (const QByteArray &part : raw.split('\0'))
            arguments << QString::fromLocal8Bit(part);
        if (arguments.last().isEmpty())
            arguments.removeLast();
        arguments.removeFirst();
        copies.append({pid, arguments});
    }
    return copies;
}
