#include "FileStore.h"

#include "ZipWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool readFile(const QString &path, QByteArray *out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    *out = f.readAll();
    return true;
}

QDateTime parseTime(const QJsonValue &value, const QDateTime &fallback)
{
    const QDateTime t = QDateTime::fromString(value.toString(), Qt::ISODate);
    return t.isValid() ? t : fallback;
}

} // namespace

FileStore::Content FileStore::share(const QByteArray &data)
{
    struct Held
    {
        std::string bytes;
        std::string_view view;
    };
    auto held = std::make_shared<Held>();
    held->bytes.assign(data.constData(), size_t(data.size()));
    held->view = held->bytes;
    return Content(held, &held->view);
}

FileStore::Content FileStore::mapFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {};
    }
    const size_t size = size_t(st.st_size);
    void *at = size ? ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0) : nullptr;
    ::close(fd);
    if (at == MAP_FAILED)
        return {};
    return Content(new std::string_view(static_cast<const char *>(at), size), [at, size](const std::string_view *view) {
        if (at)
            ::munmap(at, size);
        delete view;
    });
}

FileStore::FileStore(const QJsonObject &fixture, const QString &fixtureDir, const QString &filesDir)
    : mFixtureDir(fixtureDir)
{
    if (!filesDir.isEmpty())
        mFolders.append(filesDir);
    const QString fixtureFolder = fixture.value(QStringLiteral("files_dir")).toString();
    if (!fixtureFolder.isEmpty())
        mFolders.append(QDir(fixtureDir).absoluteFilePath(fixtureFolder));

    const QJsonArray files = fixture.value(QStringLiteral("files")).toArray();
    for (const QJsonValue &value : files) {
        const QJsonObject spec = value.toObject();
        const QString name = spec.value(QStringLiteral("name")).toString();
        if (!isPlainName(name)) {
            mErrors.append(QStringLiteral("file without a plain name: ")
                           + QString::fromUtf8(QJsonDocument(spec).toJson(QJsonDocument::Compact)));
            continue;
        }
        QByteArray data;
        QString error;
        if (!buildEntry(spec, &data, &error)) {
            mErrors.append(name + QStringLiteral(": ") + error);
            continue;
        }
        mFixtureFiles.insert(name, newVersion(data, false));
    }
}

bool FileStore::isPlainName(const QString &name)
{
    // Folders are allowed, as on a real host, but never a way out of them.
    if (name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

QByteArray FileStore::patternBytes(qint64 size, quint32 seed)
{
    QByteArray out(int(qMax<qint64>(size, 0)), Qt::Uninitialized);
    quint32 state = seed ? seed : 0x9e3779b9u;
    for (int i = 0; i < out.size(); ++i) {
        // xorshift32: cheap, and any run of bytes is unlikely to repeat.
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        out[i] = char(state & 0xff);
    }
    return out;
}

bool FileStore::entryBytes(const QJsonObject &spec, QByteArray *out, QString *error) const
{
    if (spec.contains(QStringLiteral("text"))) {
        *out = spec.value(QStringLiteral("text")).toString().toUtf8();
    } else if (spec.contains(QStringLiteral("base64"))) {
        *out = QByteArray::fromBase64(spec.value(QStringLiteral("base64")).toString().toLatin1());
    } else if (spec.contains(QStringLiteral("json"))) {
        const QJsonValue json = spec.value(QStringLiteral("json"));
        *out = json.isArray() ? QJsonDocument(json.toArray()).toJson(QJsonDocument::Indented)
                              : QJsonDocument(json.toObject()).toJson(QJsonDocument::Indented);
    } else if (spec.contains(QStringLiteral("source"))) {
        const QString path = QDir(mFixtureDir).absoluteFilePath(spec.value(QStringLiteral("source")).toString());
        if (!readFile(path, out)) {
            *error = QStringLiteral("cannot read ") + path;
            return false;
        }
    } else if (spec.contains(QStringLiteral("size"))) {
        *out = patternBytes(qint64(spec.value(QStringLiteral("size")).toDouble()),
                            quint32(spec.value(QStringLiteral("seed")).toInt(1)));
    } else {
        out->clear();
    }
    return true;
}

bool FileStore::buildEntry(const QJsonObject &spec, QByteArray *out, QString *error) const
{
    if (spec.contains(QStringLiteral("zip")))
        return buildZip(spec.value(QStringLiteral("zip")).toObject(), out, error);
    if (spec.contains(QStringLiteral("generate"))) {
        const QJsonObject g = spec.value(QStringLiteral("generate")).toObject();
        *out = patternBytes(qint64(g.value(QStringLiteral("size")).toDouble()),
                            quint32(g.value(QStringLiteral("seed")).toInt(1)));
        return true;
    }
    return entryBytes(spec, out, error);
}

bool FileStore::buildZip(const QJsonObject &spec, QByteArray *out, QString *error) const
{
    const bool deflate = spec.value(QStringLiteral("method")).toString() != QLatin1String("store");
    const QDateTime archiveTime = parseTime(spec.value(QStringLiteral("mtime")),
                                            QDateTime(QDate(2024, 1, 1), QTime(12, 0)));
    QBuffer buffer(out);
    buffer.open(QIODevice::WriteOnly);
    ZipWriter zip(&buffer);
    const QJsonArray entries = spec.value(QStringLiteral("entries")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const QString path = entry.value(QStringLiteral("path")).toString();
        if (path.isEmpty()) {
            *error = QStringLiteral("zip entry without a path");
            return false;
        }
        ZipWriter::Entry e;
        e.name = path.toUtf8();
        e.modified = parseTime(entry.value(QStringLiteral("mtime")), archiveTime);
        if (entry.value(QStringLiteral("dir")).toBool() || path.endsWith(QLatin1Char('/'))) {
            if (!e.name.endsWith('/'))
                e.name += '/';
            e.deflate = false;
        } else {
            e.deflate = deflate;
            if (!entryBytes(entry, &e.data, error))
                return false;
        }
        zip.add(e);
    }
    if (!zip.finish()) {
        *error = QStringLiteral("zip archive could not be written");
        return false;
    }
    return true;
}

FileStore::Version FileStore::newVersion(const QByteArray &data, bool replacement)
{
    // Whole seconds, as HTTP dates carry them. The fixture's files share
    // the start-up time; each replacement is later than anything before it.
    QDateTime now = QDateTime::currentDateTimeUtc();
    now = now.addMSecs(-now.time().msec());
    if (replacement && mLastModified.isValid() && now <= mLastModified)
        now = mLastModified.addSecs(1);
    mLastModified = now;
    Version v;
    v.content = share(data);
    v.etag = "\"v" + QByteArray::number(mNextTag++) + '"';
    v.modified = now;
    return v;
}

FileStore::Version FileStore::fromFolder(const QString &dir, const QString &name) const
{
    const QFileInfo info(QDir(dir), name);
    if (!info.isFile())
        return {};
    // As common web servers do: the file's time and size.
    Version v;
    v.content = mapFile(info.filePath());
    if (!v.content)
        return {};
    v.modified = info.lastModified().toUTC();
    v.etag = '"' + QByteArray::number(v.modified.toMSecsSinceEpoch(), 16) + '-'
             + QByteArray::number(qint64(v.content->size()), 16) + '"';
    v.modified = v.modified.addMSecs(-v.modified.time().msec());
    return v;
}

FileStore::Version FileStore::version(const QString &name) const
{
    if (!isPlainName(name))
        return {};
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const auto it = mReplaced.constFind(name);
        if (it != mReplaced.constEnd())
            return it.value();
    }
    const auto it = mFixtureFiles.constFind(name);
    if (it != mFixtureFiles.constEnd())
        return it.value();
    for (const QString &dir : mFolders) {
        Version v = fromFolder(dir, name);
        if (v.content)
            return v;
    }
    return {};
}

FileStore::Content FileStore::content(const QString &name) const
{
    return version(name).content;
}

qint64 FileStore::size(const QString &name) const
{
    const Content c = content(name);
    return c ? qint64(c->size()) : -1;
}

bool FileStore::replace(const QString &name, const QByteArray &data)
{
    if (!isPlainName(name))
        return false;
    std::lock_guard<std::mutex> lock(mMutex);
    mReplaced.insert(name, newVersion(data, true));
    return true;
}

void FileStore::reset()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mReplaced.clear();
}
