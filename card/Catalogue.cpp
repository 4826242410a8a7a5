#include "Catalogue.h"

#include "Card.h"
#include "CardLog.h"
#include "DirWalker.h"
#include "LanguageCodes.h"
#include "VehicleData.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

QString GetLanguageCode()
{
    return LanguageCodes::current();
}

namespace {
class VehicleOrder
{
public:
    explicit VehicleOrder(const QString &code)
    {
        QLocale locale;
        if (code == QLatin1String("cn") || code == QLatin1String("hk"))
            locale = QLocale(QLocale::Chinese, QLocale::China);
        else if (code == QLatin1String("jp"))
            locale = QLocale(QLocale::Japanese, QLocale::Japan);
        else if (code == QLatin1String("kr"))
            locale = QLocale(QLocale::Korean, QLocale::SouthKorea);
        else
            return;
        mCollator = QCollator(locale);
        mHasCollator = true;
        qCDebug(lcCard) << locale.nativeLanguageName() << QLocale::languageToString(locale.language());
    }

    // With a collator every pair is compared by it. Choosing the collator
    // by one record's language alone is not a consistent order (a record
    // with the language and one without could each come first), and
    // std::sort may then run past the list's ends.
    bool operator()(const VehicleData &a, const VehicleData &b) const
    {
        const QString &nameA = a.mNamesTxt.mCurrent.mName;
        const QString &nameB = b.mNamesTxt.mCurrent.mName;
        if (mHasCollator)
            return mCollator.compare(nameA, nameB) < 0;
        return nameA < nameB;
    }

private:
    QCollator mCollator;
    bool mHasCollator = false;
};
} // namespace

bool VehicleLessThan(const VehicleData &a, const VehicleData &b)
{
    return VehicleOrder(GetLanguageCode())(a, b);
}

void SortVehicles(QList<VehicleData> &list)
{
    std::sort(list.begin(), list.end(), VehicleOrder(GetLanguageCode()));
}

quint64 CalcSize(const QString &path, int &count)
{
    return CalcSize(Card(), path, count);
}

quint64 CalcSize(const Card &card, const QString &path, int &count)
{
    if (path.isEmpty())
        return 0;
    qint64 files = 0;
    bool missing = false;
    bool stopped = false;
    const quint64 bytes = DirWalker::measure(card.root(), path, files, nullptr, &missing, &stopped);
    if (missing)
        qCDebug(lcCard).noquote() << "CalcSize 方法，文件夹路径不存在，错误路径：" << path;
    count = int(files);
    return bytes;
}
