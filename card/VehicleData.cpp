#include "VehicleData.h"

#include "CardHelpers.h"
#include "Catalogue.h"
#include "DirWalker.h"

#include <QFile>
#include <QFileInfo>

VehicleData::VehicleData()
    : mState{QStringLiteral("0"), QStringLiteral("0")}
{
}

VehicleData::~VehicleData() = default;

bool VehicleData::ParseDirectory(const QString &dirPath, bool withSize, const QString &cardRoot,
                                 const QString &languageCode)
{
    if (dirPath.isEmpty() || !QFileInfo(dirPath + QStringLiteral("version.txt")).isFile())
        return false;
    const QString root = cardRoot.isEmpty() ? CardHelpers::CardRootOf(dirPath) : cardRoot;
    const QString below = CardHelpers::PathBelowRoot(dirPath, root);

    QString displayName;
    if (below.contains(QLatin1String("home"), Qt::CaseInsensitive)) {
        displayName = QStringLiteral("HOME");
    } else if (below.contains(QLatin1String("public"), Qt::CaseInsensitive)) {
        displayName = QStringLiteral("Common Text Library");
    } else {
        mNamesTxt.SetLanguageCode(languageCode);
        if (!mNamesTxt.ParseNamesTxt(dirPath + QStringLiteral("Names.txt"), root))
            return false;
        QString vehicleDir = dirPath;
        if (!mNamesTxt.mLink.isEmpty()) {
            // Area and link name folders on this card: anything else would
            // send the version and program-file checks off the card.
            if (root.isEmpty() || !CardHelpers::IsPlainName(mNamesTxt.mLink)
                || !CardHelpers::IsPlainName(mNamesTxt.mArea))
                return false;
            mVehiclePath = root + QStringLiteral("Vehicles/") + mNamesTxt.mArea + QLatin1Char('/')
                + mNamesTxt.mLink + QLatin1Char('/');
            vehicleDir = mVehiclePath;
        }
        if (!DirWalker::hasFileWithSuffix(vehicleDir, QByteArrayLiteral(".bin")))
            return false;
    }

    mDirPath = dirPath;
    const QString versionFile = (mNamesTxt.mLink.isEmpty() ? dirPath : mVehiclePath) + QStringLiteral("version.txt");
    QFile file(versionFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    mVersion = QString::fromUtf8(file.readAll()).trimmed();
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

    if (withSize)
        mSize = CalcSize(dirPath, mFileCount);
    return true;
}
