#include <Sornet/BaseAction.h>

#include "ServiceRequest.h"
#include "SornetLog.h"
#include "SornetTypes.h"

#include <Sornet/BaseResponse.h>

#include <DeploymentSettings.h>

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QMetaProperty>
#include <QMutex>
#include <QMutexLocker>
#include <QSequentialIterable>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

QMutex gBaseUrlMutex;
QString gBaseUrl;

// A JSON number beyond the range of an integer property would wrap into
// nonsense (a user id of LONG_MIN sent back with every later request); it is
// skipped like any other value the property cannot take.
bool numberDoesNotFit(const QObject *object, const QByteArray &name, const QVariant &value)
{
    const int valueType = value.userType();
    if (valueType != QMetaType::Double && valueType != QMetaType::LongLong && valueType != QMetaType::ULongLong)
        return false;
    const int index = object->metaObject()->indexOfProperty(name.constData());
    if (index < 0)
        return false;
    qint64 low = 0;
    qint64 high = 0;
    switch (object->metaObject()->property(index).userType()) {
    case QMetaType::Int:
        low = std::numeric_limits<int>::min();
        high = std::numeric_limits<int>::max();
        break;
    case QMetaType::Long:
    case QMetaType::LongLong:
        low = std::numeric_limits<long>::min();
        high = std::numeric_limits<long>::max();
        break;
    default:
        return false;
    }
    if (valueType == QMetaType::ULongLong)
        return value.toULongLong() > quint64(high);
    if (valueType == QMetaType::LongLong)
        return value.toLongLong() < low || value.toLongLong() > high;
    // The conversion rounds, so the rounded value has to fit.
    long rounded = 0;
    if (!SornetTypes::toLong(std::round(value.toDouble()), rounded))
        return true;
    return rounded < low || rounded > high;
}

QObject *findChildForObject(QObject *object, const QString &key, const QVariantMap &nested)
{
    const auto named = nested.constFind(QStringLiteral("objectName"));
    if (named != nested.constEnd()) {
        const QString name = named->toString();
        const QList<QObject *> all = object->findChildren<QObject *>(name, Qt::FindChildrenRecursively);
        for (QObject *child : all) {
            if (QLatin1String(child->metaObject()->className()) == key)
                return child;
        }
        return nullptr;
    }
    return object->findChild<QObject *>(key, Qt::FindDirectChildrenOnly);
}

void fillFromArray(QObject *object, const QString &key, const QVariantList &array)
{
    QList<QObject *> named;
    QList<QObject *> unnamed;
    for (QObject *child : object->children()) {
        if (QLatin1String(child->metaObject()->className()) != key)
            continue;
        (child->objectName().isEmpty() ? unnamed : named).append(child);
    }
    const QByteArray property = key.toUtf8();
    for (const QVariant &element : array) {
        if (element.userType() != QMetaType::QVariantMap) {
            if (!numberDoesNotFit(object, property, element))
                object->setProperty(property.constData(), element);
            continue;
        }
        const QVariantMap map = element.toMap();
        QObject *target = nullptr;
        const auto named_ = map.constFind(QStringLiteral("objectName"));
        if (named_ != map.constEnd()) {
            const QString name = named_->toString();
            for (int i = 0; i < named.size(); ++i) {
                if (named.at(i)->objectName() == name) {
                    target = named.takeAt(i);
                    break;
                }
            }
        } else if (!unnamed.isEmpty()) {
            target = unnamed.takeFirst();
        }
        if (!target && key == QLatin1String("QObject"))
            target = new QObject(object);
        if (target)
            BaseAction::fillObjectFromMap(target, map);
    }
}

// A key met twice keeps both values in an array.
void insertValue(QVariantMap &map, QSet<QString> &multi, const QString &key, const QVariant &value)
{
    auto it = map.find(key);
    if (it == map.end()) {
        map.insert(key, value);
    } else if (multi.contains(key)) {
        QVariantList list = it->toList();
        list.append(value);
        *it = list;
    } else {
        *it = QVariantList{*it, value};
        multi.insert(key);
    }
}

QVariant toJsonFriendly(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return value.toLongLong();
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return value.toULongLong();
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QVariantMap:
        return value;
    default:
        break;
    }
    if (QObject *object = value.value<QObject *>())
        return BaseAction::objectToMap(object);
    if (value.canConvert<QVariantMap>() && value.userType() != QMetaType::QVariantHash)
        return value.value<QVariantMap>();
    if (value.canConvert<QVariantList>() && value.userType() != QMetaType::QStringList) {
        QVariantList list;
        const QSequentialIterable items = value.value<QSequentialIterable>();
        for (const QVariant &item : items)
            list.append(toJsonFriendly(item));
        return list;
    }
    return value;
}

} // namespace

BaseAction::BaseAction(QObject *parent)
    : QObject(parent)
    , mServiceUrl(baseUrl())
{
    SornetTypes::registerAll();
}

QString BaseAction::MD5(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

bool BaseAction::parse(QObject *target, const QString &json)
{
    qCDebug(lcSornetHttp).noquote() << "Response: " << ServiceRequest::redacted(json);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCDebug(lcSornetHttp) << error.errorString();
        return false;
    }
    if (target)
        fillObjectFromMap(target, document.object().toVariantMap());
    return true;
}

void BaseAction::fillObjectFromMap(QObject *object, const QVariantMap &map)
{
    if (!object)
        return;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const QString &key = it.key();
        const QVariant &value = it.value();
        if (value.userType() == QMetaType::QVariantMap) {
            const QVariantMap nested = value.toMap();
            QObject *child = findChildForObject(object, key, nested);
            if (!child && key == QLatin1String("QObject"))
                child = new QObject(object);
            if (child)
                fillObjectFromMap(child, nested);
        } else if (value.userType() == QMetaType::QVariantList) {
            fillFromArray(object, key, value.toList());
        } else {
            const QByteArray name = key.toUtf8();
            if (!numberDoesNotFit(object, name, value))
                object->setProperty(name.constData(), value);
        }
    }
}

QVariantMap BaseAction::objectToMap(const QObject *object)
{
    QVariantMap map;
    if (!object)
        return map;
    QSet<QString> multi;
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.isReadable())
            insertValue(map, multi, QString::fromLatin1(property.name()), toJsonFriendly(property.read(object)));
    }
    const QList<QByteArray> dynamic = object->dynamicPropertyNames();
    for (const QByteArray &name : dynamic)
        insertValue(map, multi, QString::fromUtf8(name), toJsonFriendly(object->property(name.constData())));
    for (const QObject *child : object->children())
        insertValue(map, multi, QString::fromLatin1(child->metaObject()->className()), objectToMap(child));
    return map;
}

QString BaseAction::serialize(const QObject &object)
{
    const QJsonObject json = QJsonObject::fromVariantMap(objectToMap(&object));
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
}

void BaseAction::setBaseUrl(const QString &url)
{
    QMutexLocker lock(&gBaseUrlMutex);
    gBaseUrl = url;
    if (!gBaseUrl.isEmpty() && !gBaseUrl.endsWith(QLatin1Char('/')))
        gBaseUrl += QLatin1Char('/');
}

QString BaseAction::baseUrl()
{
    {
        QMutexLocker lock(&gBaseUrlMutex);
        if (!gBaseUrl.isEmpty())
            return gBaseUrl;
    }
    return DeploymentSettings::serviceUrl().toString();
}

void BaseAction::abortWaitingCalls()
{
    ServiceRequest::abortWaiting();
}

void BaseAction::setTimeout(int msecs)
{
    ServiceRequest::setTimeout(msecs);
}

int BaseAction::timeout()
{
    return ServiceRequest::timeout();
}

void BaseAction::setDeadline(int msecs)
{
    ServiceRequest::setDeadline(msecs);
}

int BaseAction::deadline()
{
    return ServiceRequest::deadline();
}

bool BaseAction::readEnvelope(const QString &body, BaseResponse &response, QJsonObject &root)
{
    qCDebug(lcSornetHttp).noquote() << "Result: " << ServiceRequest::redacted(body);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCDebug(lcSornetHttp) << error.errorString();
        return false;
    }
    root = document.object();
    const QJsonValue code = root.value(QLatin1String("code"));
    int number = 0;
    if (code.isDouble() && SornetTypes::toInt(code.toDouble(), number))
        response.setCode(number);
    const QJsonValue message = root.value(QLatin1String("message"));
    if (message.isString())
        response.setMessage(message.toString());
    const QJsonValue success = root.value(QLatin1String("success"));
    if (success.isBool())
        response.setSuccess(success.toBool());
    return true;
}

int BaseAction::mapped(int status, const QString &body, QObject &response)
{
    if (status == 200)
        parse(&response, body);
    return status;
}
