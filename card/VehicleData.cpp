#include "VehicleData.h"

#include "CardFs.h"
#include "Catalogue.h"
#include "DirWalker.h"

#include <unistd.h>

VehicleData::VehicleData()
    : mState{QStringLiteral("0"), QStringLiteral("0")}
{
}

VehicleData::~VehicleData() = default;

bool VehicleData::ParseDirectory(const QString &dirPath, bool withSize, const Card &card, const QString &languageCode)
{
    if (dirPath.isEmpty())
        return false;
    const int fd = CardFs::openDir(card.root(), dirPath);
    if (fd < 0)
        return false;
    const bool ok = ParseDirectoryAt(fd, dirPath, withSize, card, languageCode);
    ::close(fd);
    return ok;
}

bool VehicleData::ParseDirectoryAt(int dirFd, const QString &dirPath, bool withSize, const Card &card,
                                   const QString &languageCode)
{
    if (dirPath.isEmpty() || !DirWalker::isFileAt(dirFd, "version.txt"))
        return false;

    QString displayName;
    bool measured = false;
    int vehicleFd = dirFd;
    int ownedFd = -1;
    const auto fail = [&ownedFd] {
        if (ownedFd >= 0)
            ::close(ownedFd);
        return false;
    };
    const Card::Package package = card.packageOf(dirPath);
    if (package == Card::Package::Home) {
        displayName = QStringLiteral("HOME");
    } else if (package == Card::Package::Public) {
        displayName = QStringLiteral("Common Text Library");
    } else {
        QByteArray names;
        if (!DirWalker::readFileAt(dirFd, "Names.txt", names))
            return false;
        mNamesTxt.SetLanguageCode(languageCode);
        if (!mNamesTxt.ParseContent(dirPath, names, card, dirFd))
            return false;
        if (!mNamesTxt.mLink.isEmpty()) {
            // Area and link name folders on this card: anything else would
            // send the version and program-file checks off the card.
            mVehiclePath = card.vehiclePath(mNamesTxt.mArea, mNamesTxt.mLink);
            if (mVehiclePath.isEmpty())
                return false;
            if (mVehiclePath != dirPath) {
                ownedFd = CardFs::openDir(card.root(), mVehiclePath);
                if (ownedFd < 0)
                    return false;
                vehicleFd = ownedFd;
            }
        }
        if (withSize && vehicleFd == dirFd) {
            // The size walk lists this directory anyway; it answers the
            // program-file question on the way.
            bool hasProgram = false;
            measureAt(dirFd, ".bin", &hasProgram);
            if (!hasProgram)
                return false;
            measured = true;
        } else if (!DirWalker::hasFileWithSuffix(vehicleFd, QByteArrayLiteral(".bin"))) {
            return fail();
        }
    }

    mDirPath = dirPath;
    QByteArray version;
    if (!DirWalker::readFileAt(vehicleFd, "version.txt", version))
        return fail();
    if (ownedFd >= 0)
        ::close(ownedFd);
    mVersion = QString::fromUtf8(version).trimmed();
    if (mVersion.isEmpty())
        return false;

    const QStringList parts = mDirPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    mDirName = parts.isEmpty() ? QString() : parts.last();

    mLanguages.clear();
    for (const Info_List &info : qAsConst(mNamesTxt.mInfoList))
        mLanguages.append(info.mLanguage);

    if (!displayName.isEmpty())
        mNamesTxt.mCurrent.mName = displayName;
    if (mNamesTxt.mCurrent.mName.isEmpty())
        mNamesTxt.mCurrent.mName = mDirName;

    if (withSize && !measured)
        measureAt(dirFd, nullptr, nullptr);
    return true;
}

void VehicleData::measureAt(int dirFd, const char *suffix, bool *hasSuffix)
{
    quint64 bytes = 0;
    qint64 files = 0;
    const int walkFd = DirWalker::openDirAt(dirFd, ".");
    if (walkFd >= 0)
        DirWalker::sumTree(walkFd, bytes, files, nullptr, suffix, hasSuffix);
    mSize = bytes;
    mFileCount = int(files);
}
