#include "ProgramInstaller.h"

#include "Package.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int ArHeaderSize = 60;

struct ArMember
{
    QByteArray name;
    qint64 size = -1;
};

// The member header at the file's current position; its data follows.
bool readMember(QFile &file, ArMember *member)
{
    const QByteArray header = file.read(ArHeaderSize);
    if (header.size() != ArHeaderSize || header.mid(58, 2) != "`\n")
        return false;
    member->name = header.left(16).trimmed();
    if (member->name.endsWith('/'))
        member->name.chop(1);
    bool ok = false;
    member->size = header.mid(48, 10).trimmed().toLongLong(&ok);
    return ok && member->size >= 0 && file.pos() + member->size <= file.size();
}

// Past the member's data, which is padded to an even length.
bool skip(QFile &file, const ArMember &member)
{
    return file.seek(file.pos() + member.size + (member.size % 2));
}
} // namespace

bool ProgramInstaller::isDebianPackage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != "!<arch>\n")
        return false;
    ArMember member;
    if (!readMember(file, &member) || member.name != "debian-binary" || member.size > 16)
        return false;
    if (!file.read(member.size).startsWith("2.") || (member.size % 2 && !file.seek(file.pos() + 1)))
        return false;
    for (const char *prefix : {"control.tar", "data.tar"}) {
        if (!readMember(file, &member) || !member.name.startsWith(prefix) || member.size == 0 || !skip(file, member))
            return false;
    }
    return true;
}

ProgramInstaller::Verdict ProgramInstaller::check(const Package &package, const QString &path)
{
    if (package.url.scheme() != QLatin1String("https"))
        return Verdict::NotHttps;

    // Owner-only and never executable, whatever the download left.
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Verdict::NotPrivate;
    struct stat st;
    const bool mine = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid()
                      && ((st.st_mode & 07777) == 0600 || ::fchmod(fd, 0600) == 0);
    ::close(fd);
    if (!mine)
        return Verdict::NotPrivate;

    if (package.size <= 0)
        return Verdict::SizeUnknown;
    if (st.st_size != package.size)
        return Verdict::WrongSize;
    if (!isDebianPackage(path))
        return Verdict::NotDebianPackage;
    if (!package.sha256.isEmpty()) {
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)
            || hash.result().toHex() != package.sha256.toLower())
            return Verdict::WrongChecksum;
    }
    return Verdict::Ok;
}
