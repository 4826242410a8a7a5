#include "ProductCatalogue.h"

#include "FileStore.h"
#include "ResultCodes.h"

#include <QDateTime>
#include <QSet>
#include <QUrl>

namespace {

const char *const PackageStrings[] = {
    "lang_code", "package_type", "release_date", "soft_id", "soft_name", "soft_type",
    "update_tips", "version",
};

QString str(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString();
}

// Every entry of a product's software, patches and history included.
void collectEntries(const QJsonArray &list, QVector<QJsonObject> *out)
{
    for (const QJsonValue &value : list) {
        const QJsonObject o = value.toObject();
        out->append(o);
        collectEntries(o.value(QStringLiteral("patch_version")).toArray(), out);
        collectEntries(o.value(QStringLiteral("version_history")).toArray(), out);
    }
}

} // namespace

ProductCatalogue::ProductCatalogue(const QJsonObject &fixture, const FileStore *files)
    : mFixture(fixture)
    , mFiles(files)
{
    const QJsonArray products = fixture.value(QStringLiteral("products")).toArray();
    for (const QJsonValue &value : products) {
        Product p;
        p.spec = value.toObject();
        p.serial = str(p.spec, "serial_number");
        const QJsonArray owners = p.spec.value(QStringLiteral("owners")).toArray();
        for (const QJsonValue &owner : owners)
            p.owners.append(owner.toInt());
        mProducts.append(p);
    }
    reset();
}

void ProductCatalogue::reset()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mChosenCar.clear();
    for (const Product &p : qAsConst(mProducts)) {
        const QString chosen = p.spec.value(QStringLiteral("single_vehicle")).toObject()
                                   .value(QStringLiteral("chosen")).toString();
        if (!chosen.isEmpty())
            mChosenCar.insert(p.serial, chosen);
    }
}

int ProductCatalogue::lookup(int userId, const QString &serial, int *index) const
{
    if (serial.isEmpty())
        return ResultCodes::NoSerialNumber;
    for (int i = 0; i < mProducts.size(); ++i) {
        if (mProducts.at(i).serial != serial)
            continue;
        if (!mProducts.at(i).owners.contains(userId))
            return ResultCodes::SerialNotOwned;
        *index = i;
        return ResultCodes::Success;
    }
    return ResultCodes::SerialNotExists;
}

ApiResult ProductCatalogue::products(int userId) const
{
    QJsonArray lists;
    for (const Product &p : mProducts) {
        if (!p.owners.contains(userId))
            continue;
        QJsonObject bean;
        bean.insert(QStringLiteral("img_url"), str(p.spec, "img_url"));
        bean.insert(QStringLiteral("languages"), p.spec.value(QStringLiteral("languages")).toArray());
        bean.insert(QStringLiteral("pro_code"), str(p.spec, "pro_code"));
        bean.insert(QStringLiteral("pro_id"), p.spec.value(QStringLiteral("pro_id")).toInt());
        bean.insert(QStringLiteral("pro_name"), str(p.spec, "pro_name"));
        bean.insert(QStringLiteral("pro_type"), str(p.spec, "pro_type"));
        bean.insert(QStringLiteral("reg_date"), str(p.spec, "reg_date"));
        bean.insert(QStringLiteral("serial_number"), p.serial);
        lists.append(bean);
    }
    QJsonObject data;
    data.insert(QStringLiteral("lists"), lists);
    data.insert(QStringLiteral("page_index"), 1);
    data.insert(QStringLiteral("page_nums"), 1);
    return ApiResult::ok(data);
}

QJsonObject ProductCatalogue::packageJson(const QJsonObject &spec) const
{
    QJsonObject out;
    if (spec.value(QStringLiteral("as_is")).toBool()) {
        // Sent exactly as written, for answers with odd field types.
        out = spec;
        out.remove(QStringLiteral("as_is"));
        out.remove(QStringLiteral("file"));
        out.remove(QStringLiteral("url"));
        return out;
    }
    out.insert(QStringLiteral("id"), spec.value(QStringLiteral("id")).toDouble());
    for (const char *key : PackageStrings)
        out.insert(QLatin1String(key), str(spec, key));
    out.insert(QStringLiteral("languages"), spec.value(QStringLiteral("languages")).toArray());
    QString size = str(spec, "soft_size");
    if (size.isEmpty() && mFiles) {
        // Unless the fixture says otherwise the size is the archive's own.
        const qint64 bytes = mFiles->size(str(spec, "file"));
        size = QString::number(qMax<qint64>(bytes, 0));
    }
    out.insert(QStringLiteral("soft_size"), size);
    return out;
}

ApiResult ProductCatalogue::software(int userId, const QString &serial, const QString &langCode,
                                     const QString &defaultLangCode) const
{
    int index = -1;
    const int code = lookup(userId, serial, &index);
    if (code != ResultCodes::Success)
        return ApiResult::fail(code);
    if (langCode.isEmpty())
        return ApiResult::fail(ResultCodes::NoLanguage);
    const Product &p = mProducts.at(index);
    const QJsonArray offered = p.spec.value(QStringLiteral("languages")).toArray();
    if (!offered.isEmpty() && !offered.contains(QJsonValue(langCode)))
        return ApiResult::fail(ResultCodes::LanguageNotSupported);

    const QJsonObject single = p.spec.value(QStringLiteral("single_vehicle")).toObject();
    QSet<QString> carSoftIds;
    const QJsonArray cars = single.value(QStringLiteral("cars")).toArray();
    for (const QJsonValue &car : cars)
        carSoftIds.insert(car.toObject().value(QStringLiteral("softId")).toString());
    QString chosen;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        chosen = mChosenCar.value(p.serial);
    }

    // One package per soft id: the one in the asked language, else in the
    // default language, else one that is not tied to a language.
    QStringList order;
    QHash<QString, QVector<QJsonObject>> bySoftId;
    const QJsonArray list = p.spec.value(QStringLiteral("software")).toArray();
    for (const QJsonValue &value : list) {
        const QJsonObject o = value.toObject();
        const QString softId = str(o, "soft_id");
        if (!bySoftId.contains(softId))
            order.append(softId);
        bySoftId[softId].append(o);
    }
    QJsonArray data;
    for (const QString &softId : qAsConst(order)) {
        if (carSoftIds.contains(softId) && softId != chosen)
            continue;
        const QVector<QJsonObject> &candidates = bySoftId[softId];
        const QJsonObject *pick = nullptr;
        for (const QString &lang : {langCode, defaultLangCode, QString()}) {
            for (const QJsonObject &o : candidates) {
                if (str(o, "lang_code") == lang) {
                    pick = &o;
                    break;
                }
            }
            if (pick)
                break;
        }
        if (!pick)
            continue;
        QJsonObject package = packageJson(*pick);
        if (!pick->value(QStringLiteral("as_is")).toBool()) {
            for (const char *listKey : {"patch_version", "version_history"}) {
                QJsonArray nested;
                const QJsonArray src = pick->value(QLatin1String(listKey)).toArray();
                for (const QJsonValue &n : src)
                    nested.append(packageJson(n.toObject()));
                package.insert(QLatin1String(listKey), nested);
            }
        }
        data.append(package);
    }
    if (!single.isEmpty() && chosen.isEmpty()) {
        QJsonObject empty = single.value(QStringLiteral("empty")).toObject();
        if (empty.isEmpty()) {
            empty.insert(QStringLiteral("id"), 0);
            empty.insert(QStringLiteral("soft_id"), QStringLiteral("Empty"));
            empty.insert(QStringLiteral("soft_name"), QStringLiteral("Empty"));
            empty.insert(QStringLiteral("lang_code"), langCode);
        }
        QJsonObject package = packageJson(empty);
        package.insert(QStringLiteral("patch_version"), QJsonArray());
        package.insert(QStringLiteral("version_history"), QJsonArray());
        data.append(package);
    }
    return ApiResult::ok(data);
}

QJsonArray ProductCatalogue::carList(const Product &p) const
{
    return p.spec.value(QStringLiteral("single_vehicle")).toObject().value(QStringLiteral("cars")).toArray();
}

ApiResult ProductCatalogue::carsAndLanguages(int userId, const QString &langName, const QString &serial) const
{
    int index = -1;
    const int code = lookup(userId, serial, &index);
    if (code != ResultCodes::Success)
        return ApiResult::fail(code);
    const Product &p = mProducts.at(index);
    QJsonArray cars;
    const QJsonArray specCars = carList(p);
    for (const QJsonValue &value : specCars) {
        const QJsonObject c = value.toObject();
        QString name = c.value(QStringLiteral("names")).toObject().value(langName).toString();
        if (name.isEmpty())
            name = str(c, "langName");
        QJsonObject car;
        car.insert(QStringLiteral("id"), c.value(QStringLiteral("id")).toDouble());
        car.insert(QStringLiteral("softId"), str(c, "softId"));
        car.insert(QStringLiteral("langName"), name);
        cars.append(car);
    }
    QJsonObject data;
    data.insert(QStringLiteral("carList"), cars);
    data.insert(QStringLiteral("languageList"),
                p.spec.value(QStringLiteral("single_vehicle")).toObject().value(QStringLiteral("languages")).toArray());
    return ApiResult::ok(data);
}

ApiResult ProductCatalogue::replaceEmptyCar(int userId, const QString &serial, const QString &carId,
                                            const QString &languages)
{
    int index = -1;
    const int code = lookup(userId, serial, &index);
    if (code != ResultCodes::Success)
        return ApiResult::fail(code);
    const Product &p = mProducts.at(index);
    if (!p.spec.contains(QStringLiteral("single_vehicle")))
        return ApiResult::fail(ResultCodes::NoNeedToReconfigure);
    std::lock_guard<std::mutex> lock(mMutex);
    if (mChosenCar.contains(p.serial))
        return ApiResult::fail(ResultCodes::NoNeedToReconfigure);
    if (carId.isEmpty())
        return ApiResult::fail(ResultCodes::ParamMissing);
    if (languages.isEmpty())
        return ApiResult::fail(ResultCodes::NoLanguage);
    // One vehicle per product: a list of several ids is refused.
    const QJsonArray cars = carList(p);
    for (const QJsonValue &value : cars) {
        const QJsonObject c = value.toObject();
        if (QString::number(qint64(c.value(QStringLiteral("id")).toDouble())) == carId) {
            mChosenCar.insert(p.serial, str(c, "softId"));
            return ApiResult::ok();
        }
    }
    return ApiResult::fail(ResultCodes::SerialConfig);
}

QString ProductCatalogue::fileFor(const Product &p, qint64 id) const
{
    QVector<QJsonObject> entries;
    collectEntries(p.spec.value(QStringLiteral("software")).toArray(), &entries);
    for (const QJsonObject &o : qAsConst(entries)) {
        if (qint64(o.value(QStringLiteral("id")).toDouble()) != id)
            continue;
        const QString url = str(o, "url");
        return url.isEmpty() ? QStringLiteral("files/") + str(o, "file") : url;
    }
    return QString();
}

ApiResult ProductCatalogue::downloadUrl(int userId, const QString &id, const QString &serial,
                                        const QString &fileBase) const
{
    if (id.isEmpty())
        return ApiResult::fail(ResultCodes::EmptySoftId);
    int index = -1;
    const int code = lookup(userId, serial, &index);
    if (code != ResultCodes::Success)
        return ApiResult::fail(code);
    bool ok = false;
    const qint64 softwareId = id.toLongLong(&ok);
    const QString target = ok ? fileFor(mProducts.at(index), softwareId) : QString();
    if (target.isEmpty() || target == QLatin1String("files/"))
        return ApiResult::fail(ResultCodes::SoftwareInquiry);
    QString url = target;
    if (target.startsWith(QLatin1String("files/"))) {
        // Relative: the archive is served here, its name percent-encoded
        // (a name may have folders, as addresses on a real host do).
        url = fileBase + QStringLiteral("files/")
            + QString::fromLatin1(QUrl::toPercentEncoding(target.mid(6), "/"));
    }
    QJsonObject data;
    data.insert(QStringLiteral("url"), url);
    data.insert(QStringLiteral("out_time"),
                QDateTime::currentDateTimeUtc().addSecs(3600).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    return ApiResult::ok(data);
}

ApiResult ProductCatalogue::feedback(int userId, const QString &id, const QString &serial) const
{
    int index = -1;
    const int code = lookup(userId, serial, &index);
    if (code != ResultCodes::Success)
        return ApiResult::fail(code);
    if (id.isEmpty())
        return ApiResult::fail(ResultCodes::EmptySoftId);
    return ApiResult::ok();
}
