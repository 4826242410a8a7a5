#include "LinuxCrashHandler.h"

#include "PlatformLog.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

// Everything below is written before the handlers are installed and only
// read inside them.
char gCrashDir[4096];
long gUtcOffset = 0;
volatile sig_atomic_t gInHandler = 0;
alignas(16) char gAltStack[64 * 1024];

size_t textLength(const char *s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

void put(int fd, const char *s, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, s, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return;
        s += w;
        n -= size_t(w);
    }
}

void put(int fd, const char *s)
{
    put(fd, s, textLength(s));
}

void putHex(int fd, unsigned long long value)
{
    char buf[17];
    int i = 16;
    buf[i] = 0;
    do {
        buf[--i] = "0123456789abcdef"[value & 0xf];
        value >>= 4;
    } while (value);
    put(fd, buf + i);
}

void putDecimal(int fd, long long value)
{
    char buf[24];
    int i = 23;
    buf[i] = 0;
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    do {
        buf[--i] = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (negative)
        buf[--i] = '-';
    put(fd, buf + i);
}

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGILL: return "SIGILL";
    case SIGFPE: return "SIGFPE";
    case SIGABRT: return "SIGABRT";
    default: return "?";
    }
}

void copyMemoryMap(int out)
{
    int in;
    do {
        in = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    } while (in < 0 && errno == EINTR);
    if (in < 0)
        return;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        put(out, buf, size_t(n));
    }
    ::close(in);
}

void reraise(int sig)
{
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    // Pending until the handler returns (the signal is blocked meanwhile);
    // a hardware fault also recurs when the instruction runs again.
    ::raise(sig);
}

void onFatalSignal(int sig, siginfo_t *info, void *)
{
    if (gInHandler) {
        reraise(sig);
        return;
    }
    gInHandler = 1;
    const int savedErrno = errno;

    const unsigned long long address = info ? (unsigned long long)(quintptr)info->si_addr : 0;
    put(STDERR_FILENO, "errCode: ");
    putHex(STDERR_FILENO, (unsigned long long)sig);
    put(STDERR_FILENO, "\nerrAddr: ");
    putHex(STDERR_FILENO, address);
    // The signal's code stands in for the exception flags; the faulting
    // address is its one parameter (an abort carries none).
    put(STDERR_FILENO, "\nerrFlag: ");
    putHex(STDERR_FILENO, (unsigned long long)(unsigned int)(info ? info->si_code : 0));
    put(STDERR_FILENO, "\nerrPara: ");
    putHex(STDERR_FILENO, sig == SIGABRT ? 0ULL : 1ULL);
    put(STDERR_FILENO, "\n");

    // The dump holds the memory map and whatever the stack held (a token, a
    // password): for this user's eyes only, and never written through a
    // link someone planted, be it under the dump's name or the folder's.
    ::mkdir(gCrashDir, 0700);
    int dir;
    do {
        dir = ::open(gCrashDir, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    } while (dir < 0 && errno == EINTR);
    char name[32];
    LinuxCrashHandler::formatFileName((long long)::time(nullptr) + gUtcOffset, name);

    int fd = -1;
    while (dir >= 0) {
        fd = ::openat(dir, name, O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0 || errno != EINTR)
            break;
    }
    if (dir >= 0)
        ::close(dir);
    if (fd >= 0)
        ::fchmod(fd, 0600); // a file left under that name keeps its mode otherwise
    if (fd < 0) {
        put(STDERR_FILENO, "hDumpFile == null\n");
    } else {
        put(fd, "Signal: ");
        putDecimal(fd, sig);
        put(fd, " (");
        put(fd, signalName(sig));
        put(fd, ")\nCode: ");
        putDecimal(fd, info ? info->si_code : 0);
        put(fd, "\nAddress: 0x");
        putHex(fd, address);
        put(fd, "\nProcess: ");
        putDecimal(fd, (long long)::getpid());
        put(fd, "\n\nBacktrace:\n");
        void *frames[128];
        const int count = ::backtrace(frames, 128);
        ::backtrace_symbols_fd(frames, count, fd);
        put(fd, "\nMemory map:\n");
        copyMemoryMap(fd);
        ::close(fd);
    }
    errno = savedErrno;
    reraise(sig);
}
} // namespace

void LinuxCrashHandler::formatFileName(long long localSeconds, char *out)
{
    long long days = localSeconds / 86400;
    long long secs = localSeconds % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    // Civil date from a day count (proleptic Gregorian calendar).
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);

    const long long fields[] = {year, month, day, secs / 3600, secs / 60 % 60, secs % 60};
    const int widths[] = {4, 2, 2, 2, 2, 2};
    int pos = 0;
    for (int f = 0; f < 6; ++f) {
        if (f == 3)
            out[pos++] = '_';
        long long v = fields[f] < 0 ? 0 : fields[f];
        for (int i = widths[f] - 1; i >= 0; --i) {
            out[pos + i] = char('0' + v % 10);
            v /= 10;
        }
        pos += widths[f];
    }
    std::memcpy(out + pos, ".Log", 5);
}

bool LinuxCrashHandler::install(const QString &dataDir)
{
    const QByteArray dir = QFile::encodeName(dataDir + QStringLiteral("/Crash"));
    if (dataDir.isEmpty() || size_t(dir.size()) >= sizeof gCrashDir) {
        qCDebug(lcPlatform) << "crash folder path unusable:" << dataDir;
        return false;
    }

    // The handler cannot call localtime(); the offset is taken now instead
    // (a change of daylight saving time afterwards shifts the name by an hour).
    const time_t now = ::time(nullptr);
    struct tm local;
    if (::localtime_r(&now, &local))
        gUtcOffset = local.tm_gmtoff;

    // The first backtrace() loads the unwinder, which allocates; do it here.
    void *frames[4];
    ::backtrace(frames, 4);

    // A folder an earlier version made readable for everyone is closed now;
    // one that is not ours, or a link, is left alone (the dump then fails).
    struct stat st;
    if (::lstat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
        ::chmod(dir.constData(), 0700);

    std::memcpy(gCrashDir, dir.constData(), size_t(dir.size()));
    gCrashDir[dir.size()] = 0;

    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = gAltStack;
    stack.ss_size = sizeof gAltStack;
    if (::sigaltstack(&stack, nullptr) != 0)
        qCDebug(lcPlatform) << "no alternate signal stack" << errno;

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = &onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int sig : kSignals)
        sigaddset(&action.sa_mask, sig);
    bool ok = true;
    for (int sig : kSignals)
        ok = ::sigaction(sig, &action, nullptr) == 0 && ok;
    qCDebug(lcPlatform) << "crash handler installed for" << dir << ok;
    return ok;
}
