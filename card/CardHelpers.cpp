#include "CardHelpers.h"

#include "CardFs.h"
#include "CardLog.h"
#include "DirWalker.h"
#include "Platform.h"
#include "Volumes.h"

#include <QRegularExpression>

#include <strings.h>
#include <unistd.h>

namespace CardHelpers {

namespace {
// A serial is 13 characters; a file of one endless line must not be read
// into memory whole.
constexpr int kSerialLineLimit = 4096;

// The first line of a serial file, without its line end. Read like every
// other card text file: a pipe by that name cannot hang the caller, and a
// huge file is refused.
QString FirstLine(const QString &file)
{
    QByteArray bytes;
    if (!DirWalker::readFile(file, bytes))
        return QString();
    const int end = bytes.indexOf('\n');
    QString line = QString::fromUtf8(end < 0 ? bytes : bytes.left(end)).left(kSerialLineLimit);
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}
} // namespace

QString VolumeLabel(const QString &root)
{
    Platform *platform = Platform::instance();
    if (root.isEmpty() || !platform || !platform->volumes())
        return QString();
    const QList<VolumeInfo> mounted = platform->volumes()->mounted();
    for (const VolumeInfo &volume : mounted) {
        if (volume.root == root)
            return volume.label;
    }
    return QString();
}

QString SerialFilePath(const QString &rootPath)
{
    if (rootPath.isEmpty())
        return QString();
    const int root = CardFs::openRoot(rootPath);
    if (root < 0)
        return QString();
    QString found;
    if (DirWalker::isFileAt(root, QByteArrayLiteral("sn.txt"))) {
        found = rootPath + QStringLiteral("sn.txt");
    } else {
        // Card file systems ignore letter case; Linux does not. A link by
        // that name is no serial file.
        std::vector<DirWalker::Entry> entries;
        DirWalker::list(root, entries, false);
        for (const DirWalker::Entry &e : entries) {
            if (e.kind == DirWalker::Kind::File && ::strcasecmp(e.name.constData(), "sn.txt") == 0) {
                found = rootPath + DirWalker::decode(e.name);
                break;
            }
        }
    }
    ::close(root);
    return found;
}

QString ReadSerialNumber(const QString &rootPath)
{
    const QString file = SerialFilePath(rootPath);
    if (file.isEmpty())
        return QString();
    const QString line = FirstLine(file);
    if (line.size() <= 12)
        return QString();
    qCDebug(lcCard).noquote() << "readSerialNumber: " << line;
    return line.left(13);
}

QString FindCardRoot()
{
    return FindCard().root();
}

Card FindCard()
{
    Platform *platform = Platform::instance();
    if (!platform || !platform->volumes())
        return Card();
    Volumes *volumes = platform->volumes();
    static const QRegularExpression alnum(QStringLiteral("^[a-zA-Z0-9]*$"));
    const QList<VolumeInfo> mounted = volumes->mounted();
    for (const VolumeInfo &v : mounted) {
        if (v.root.isEmpty() || v.root == QLatin1String("/"))
            continue;
        qint64 freeBytes = 0;
        qint64 totalBytes = 0;
        volumes->space(v.root, &freeBytes, &totalBytes);
        qCDebug(lcCard).noquote() << "name:" << v.label << "displayName:" << v.label << "rootPath:" << v.root
                                  << "device:" << v.device << "fileSystemType:" << v.fsType
                                  << "size:" << totalBytes / 1000 / 1000 << "availableSize:" << freeBytes / 1000 / 1000;
        if (!v.removable)
            continue;
        const QString file = SerialFilePath(v.root);
        if (file.isEmpty())
            continue;
        const QString line = FirstLine(file).trimmed();
        if (line.size() < 13 || !alnum.match(line).hasMatch())
            continue;
        qCDebug(lcCard).noquote() << "readSerialNumber: " << line;
        return Card(v.root, ReadSerialNumber(v.root));
    }
    return Card();
}

} // namespace CardHelpers
