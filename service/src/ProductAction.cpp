#include <Sornet/ProductAction.h>

#include "ServiceRequest.h"
#include "SornetTypes.h"

#include <QJsonArray>

namespace {

// Each helper sets the field only when the member has the expected type.
template<typename T>
void takeString(const QJsonObject &object, const char *key, T &target, void (T::*setter)(const QString &))
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isString())
        (target.*setter)(value.toString());
}

template<typename T>
void takeInt(const QJsonObject &object, const char *key, T &target, void (T::*setter)(int))
{
    const QJsonValue value = object.value(QLatin1String(key));
    int number = 0;
    if (value.isDouble() && SornetTypes::toInt(value.toDouble(), number))
        (target.*setter)(number);
}

template<typename T>
void takeLong(const QJsonObject &object, const char *key, T &target, void (T::*setter)(long))
{
    const QJsonValue value = object.value(QLatin1String(key));
    long number = 0;
    if (value.isDouble() && SornetTypes::toLong(value.toDouble(), number))
        (target.*setter)(number);
}

void appendStrings(const QJsonObject &object, const char *key, QStringList &target)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isArray())
        return;
    const QJsonArray array = value.toArray();
    for (const QJsonValue &element : array) {
        if (element.isString())
            target.append(element.toString());
    }
}

// Calls read for every object element of the array member key.
template<typename Read>
void forEachObject(const QJsonObject &object, const char *key, Read read)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isArray())
        return;
    const QJsonArray array = value.toArray();
    for (const QJsonValue &element : array) {
        if (element.isObject())
            read(element.toObject());
    }
}

SoftwareData readSoftware(const QJsonObject &object, bool withNested)
{
    SoftwareData software;
    takeLong(object, "id", software, &SoftwareData::setId);
    takeString(object, "lang_code", software, &SoftwareData::setLang_code);
    appendStrings(object, "languages", software.getLanguages());
    takeString(object, "package_type", software, &SoftwareData::setPackage_type);
    takeString(object, "release_date", software, &SoftwareData::setRelease_date);
    takeString(object, "soft_id", software, &SoftwareData::setSoft_id);
    takeString(object, "soft_name", software, &SoftwareData::setSoft_name);
    takeString(object, "soft_size", software, &SoftwareData::setSoft_size);
    takeString(object, "soft_type", software, &SoftwareData::setSoft_type);
    takeString(object, "update_tips", software, &SoftwareData::setUpdate_tips);
    takeString(object, "version", software, &SoftwareData::setVersion);
    // Patches and history entries carry no lists of their own.
    if (withNested) {
        forEachObject(object, "patch_version", [&](const QJsonObject &patch) {
            software.getPatch_version().append(readSoftware(patch, false));
        });
        forEachObject(object, "version_history", [&](const QJsonObject &old) {
            software.getVersion_history().append(readSoftware(old, false));
        });
    }
    return software;
}

} // namespace

ProductAction::ProductAction(QObject *parent)
    : BaseAction(parent)
{
}

int ProductAction::queryProduct(QueryProductResponse &response, QueryProductParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/pro_search"));
    request.addSignIn(param);
    QString body;
    const int status = request.sendGet(body);
    return status == 200 ? parseQueryProduct(response, body) : status;
}

int ProductAction::querySoftware(QuerySoftwareResponse &response, QuerySoftwareParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/soft_search"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("serial_number"), param.getSerial_number());
    request.addParam(QStringLiteral("lang_code"), param.getLang_code());
    request.addParam(QStringLiteral("default_lang_code"), param.getDefault_lang_code());
    QString body;
    const int status = request.sendGet(body);
    return status == 200 ? parseQuerySoftware(response, body) : status;
}

int ProductAction::getAllCarListAndLanguageList(GetAllCarListAndLanguageListResponse &response,
                                                GetAllCarListAndLanguageListParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("tools/get_allCarsAndLanguages"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("lang_name"), param.getLang_name());
    request.addParam(QStringLiteral("serial_number"), param.getSerial_number());
    QString body;
    const int status = request.sendGet(body);
    return status == 200 ? parseAllCarListAndLanguageList(response, body) : status;
}

int ProductAction::replaceEmptyCarConfiguration(ReplaceEmptyCarConfigurationResponse &response,
                                                ReplaceEmptyCarConfigurationParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("tools/replaceEmptyCar"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("serial_number"), param.getSerial_number());
    request.addParam(QStringLiteral("carId"), param.getCarId());
    request.addParam(QStringLiteral("languages"), param.getLanguages());
    QString body;
    const int status = request.sendPost(body);
    return status == 200 ? parseReplaceEmptyCarConfiguration(response, body) : status;
}

int ProductAction::feedbackUpdateInfo(FeedbackUpdateInfoResponse &response, FeedbackUpdateInfoParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("soft/download_feedback"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("id"), qint64(param.getId()));
    request.addParam(QStringLiteral("serial_number"), param.getSerial_number());
    request.addParam(QStringLiteral("down_time"), qint64(param.getDown_time()));
    request.addParam(QStringLiteral("status"), qint64(param.getStatus()));
    QString body;
    return mapped(request.sendGet(body), body, response);
}

int ProductAction::parseQueryProduct(QueryProductResponse &response, const QString &body)
{
    QJsonObject root;
    if (!readEnvelope(body, response, root))
        return -1;
    const QJsonValue data = root.value(QLatin1String("data"));
    if (!data.isObject())
        return 200;
    const QJsonObject object = data.toObject();
    ProductData &product = response.getData();
    takeInt(object, "page_nums", product, &ProductData::setPage_nums);
    takeInt(object, "page_index", product, &ProductData::setPage_index);
    forEachObject(object, "lists", [&](const QJsonObject &item) {
        ProductBean bean;
        takeString(item, "img_url", bean, &ProductBean::setImg_url);
        appendStrings(item, "languages", bean.getLanguages());
        takeString(item, "pro_code", bean, &ProductBean::setPro_code);
        takeLong(item, "pro_id", bean, &ProductBean::setPro_id);
        takeString(item, "pro_name", bean, &ProductBean::setPro_name);
        takeString(item, "pro_type", bean, &ProductBean::setPro_type);
        takeString(item, "reg_date", bean, &ProductBean::setReg_date);
        takeString(item, "serial_number", bean, &ProductBean::setSerial_number);
        product.getLists().append(bean);
    });
    return 200;
}

int ProductAction::parseQuerySoftware(QuerySoftwareResponse &response, const QString &body)
{
    QJsonObject root;
    if (!readEnvelope(body, response, root))
        return -1;
    forEachObject(root, "data", [&](const QJsonObject &item) {
        response.getData().append(readSoftware(item, true));
    });
    return 200;
}

int ProductAction::parseAllCarListAndLanguageList(GetAllCarListAndLanguageListResponse &response,
                                                  const QString &body)
{
    QJsonObject root;
    if (!readEnvelope(body, response, root))
        return -1;
    const QJsonValue data = root.value(QLatin1String("data"));
    if (!data.isObject())
        return 200;
    const QJsonObject object = data.toObject();
    AllCarListAndLanguageListData &lists = response.getData();
    forEachObject(object, "carList", [&](const QJsonObject &item) {
        CarData car;
        takeLong(item, "id", car, &CarData::setId);
        takeString(item, "softId", car, &CarData::setSoftId);
        takeString(item, "langName", car, &CarData::setLangName);
        lists.getCarList().append(car);
    });
    forEachObject(object, "languageList", [&](const QJsonObject &item) {
        LanguageData language;
        takeString(item, "name", language, &LanguageData::setName);
        takeString(item, "code", language, &LanguageData::setCode);
        lists.getLanguageList().append(language);
    });
    return 200;
}

int ProductAction::parseReplaceEmptyCarConfiguration(ReplaceEmptyCarConfigurationResponse &response,
                                                     const QString &body)
{
    QJsonObject root;
    return readEnvelope(body, response, root) ? 200 : -1;
}
