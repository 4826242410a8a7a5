#include "NamesTxt.h"

#include "CardFs.h"
#include "CardLog.h"
#include "Catalogue.h"
#include "DirWalker.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCodec>

#include <unistd.h>

NamesTxt::~NamesTxt() = default;

QString NamesTxt::languageCode() const
{
    return mLanguageCode.isEmpty() ? GetLanguageCode() : mLanguageCode;
}

bool NamesTxt::ParseNamesTxt(const QString &filePath, const Card &card)
{
    if (filePath.isEmpty()) {
        qCDebug(lcCard) << "解析NamesTxt文件失败，路径为空";
        return false;
    }
    QByteArray bytes;
    if (!DirWalker::readFile(filePath, bytes, DirWalker::kTextFileLimit, card.root()))
        return false;
    return ParseContent(filePath.left(filePath.lastIndexOf(QLatin1Char('/')) + 1), bytes, card, -1);
}

bool NamesTxt::ParseContent(const QString &dirPath, const QByteArray &bytes, const Card &card, int dirFd)
{
    mDirPath = dirPath;
    mCard = card;
    if (bytes.isEmpty())
        return false;
    mDirFd = dirFd;
    const bool ok = ParseJson(bytes);
    mDirFd = -1;
    return ok;
}

bool NamesTxt::ParseJson(const QByteArray &bytes)
{
    const QString code = languageCode();
    const char *codecName = code == QLatin1String("cn") ? "GB2312" : code == QLatin1String("hk") ? "Big5" : "UTF-8";
    // Decoding replaces malformed sequences, so a file in another encoding
    // still parses; only its non-ASCII names come out wrong. A byte-order
    // mark (a file saved by a Windows editor) names its encoding for sure,
    // and a JSON text cannot begin with those bytes otherwise.
    QTextCodec *codec = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForName(codecName));
    const QByteArray utf8 = codec ? codec->toUnicode(bytes).toUtf8() : QString::fromUtf8(bytes).toUtf8();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(utf8, &error);
    if (doc.isNull() || error.error != QJsonParseError::NoError) {
        qCDebug(lcCard).nospace().noquote()
            << "ParseJson 方法，json error : " << int(error.error) << ", 数据：" << QString::fromUtf8(bytes);
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.contains(QLatin1String("link")))
        mLink = root.value(QLatin1String("link")).toString();
    if (root.contains(QLatin1String("area")))
        mArea = root.value(QLatin1String("area")).toString();
    if (!root.contains(QLatin1String("info_list")))
        return true;
    const QJsonArray list = root.value(QLatin1String("info_list")).toArray();
    if (list.isEmpty())
        return false;
    return ParseInfoList(list);
}

bool NamesTxt::ParseInfoList(const QJsonArray &array)
{
    const QString code = languageCode();
    // Resources of a linked vehicle live in its directory below the area;
    // an unsafe area or link never leads out of the card.
    const QString ownResources = mDirPath + QStringLiteral("Res/Text/");
    const QString linked = mCard.vehiclePath(mArea, mLink);
    const QString resourceDir = linked.isEmpty() ? ownResources : linked + QStringLiteral("Res/Text/");
    // The resource folder, reached without following any link; the files
    // in it are checked relative to it, so a name cannot lead elsewhere.
    const bool own = mDirFd >= 0 && resourceDir == ownResources;
    int resourceFd = -1;
    bool resourceOpened = false;
    for (const QJsonValue &value : array) {
        if (!value.isObject())
            continue;
        const QJsonObject o = value.toObject();
        if (!o.contains(QLatin1String("language")))
            continue;
        Info_List item;
        item.mLanguage = o.value(QLatin1String("language")).toString();
        if (o.contains(QLatin1String("name")))
            item.mName = o.value(QLatin1String("name")).toString();
        if (o.contains(QLatin1String("file"))) {
            item.mFile = o.value(QLatin1String("file")).toString();
            if (!own && !resourceOpened) {
                resourceOpened = true;
                resourceFd = CardFs::openDir(mCard.root(), resourceDir);
            }
            const bool exists =
                own ? DirWalker::isFileAt(mDirFd, DirWalker::encode(QStringLiteral("Res/Text/") + item.mFile))
                    : resourceFd >= 0 && DirWalker::isFileAt(resourceFd, DirWalker::encode(item.mFile));
            if (!exists)
                continue;
        }
        if (item.mLanguage.contains(code, Qt::CaseInsensitive))
            mCurrent = item;
        mInfoList.append(item);
    }
    if (resourceFd >= 0)
        ::close(resourceFd);
    return !mInfoList.isEmpty();
}
