#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <Sornet/sornet_export.h>

class BaseResponse;

// Base of the typed service clients: the service base URL, the generic
// JSON mapper and the password digest. Every call is synchronous.
class SORNET_EXPORT BaseAction : public QObject
{
    Q_OBJECT

public:
    explicit BaseAction(QObject *parent = nullptr);

    QString getServiceUrl() const { return mServiceUrl; }
    QString getToken() const { return mToken; }
    void setToken(const QString &token) { mToken = token; }
    long getUserId() const { return mUserId; }
    void setUserId(long userId) { mUserId = userId; }

    // Lower-case hex MD5 of the UTF-8 bytes.
    static QString MD5(const QString &text);

    // Fills target from JSON by property name; false only on a syntax error.
    static bool parse(QObject *target, const QString &json);
    static void fillObjectFromMap(QObject *object, const QVariantMap &map);
    // The inverse mapping, as indented JSON.
    static QString serialize(const QObject &object);
    static QVariantMap objectToMap(const QObject *object);

    // Process-wide overrides for the deployment's service URL (empty: use
    // the deployment settings), for the idle limit of a waiting request and
    // for the limit on its whole length (0: the defaults). Actions take the
    // URL when they are constructed.
    static void setBaseUrl(const QString &url);
    static QString baseUrl();
    static void setTimeout(int msecs);
    static int timeout();
    static void setDeadline(int msecs);
    static int deadline();

    // Ends every call the calling thread is waiting for at once; each
    // returns -1. For a window closed while its call is still waiting (the
    // close arrives inside that call's wait).
    static void abortWaitingCalls();

protected:
    // First step of the hand-written list parsers: false on a syntax error;
    // otherwise reads the envelope's correctly typed members into response
    // and hands back the root object (empty when the root is not an object).
    static bool readEnvelope(const QString &body, BaseResponse &response, QJsonObject &root);
    // Generic-mapping tail of an exchange: parses body only on status 200.
    static int mapped(int status, const QString &body, QObject &response);

private:
    QString mServiceUrl;
    QString mToken;
    long mUserId = 0;
};
