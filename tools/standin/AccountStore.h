#pragma once

#include "ApiResult.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <mutex>
#include <QSet>
#include <QString>
#include <QVector>

// The user centre's accounts: sign-in, tokens, registration, verification
// codes, passwords and profiles. Starts from the fixture; every change lives
// in memory until reset(). Thread-safe: the server answers on many threads.
class AccountStore
{
public:
    explicit AccountStore(const QJsonObject &fixture);

    void reset();

    // 1 when token and user id belong together, else -100 (or -101 for a
    // user whose token the fixture marks expired). userId is parsed here.
    int checkToken(const QString &token, const QString &userId, int *id = nullptr) const;
    bool hasUser(int userId) const;

    ApiResult login(const QString &userName, const QString &passwordDigest);
    ApiResult registerUser(const QString &userName, const QString &password, const QString &email,
                           const QString &countryId, const QString &code);
    ApiResult checkName(const QString &userName) const;
    ApiResult sendCode(const QString &email, const QString &type);
    ApiResult resetPassword(const QString &email, const QString &password, const QString &code);
    ApiResult modifyPassword(int userId, const QString &password, const QString &oldPassword);
    ApiResult userInfo(int userId) const;
    ApiResult modifyUserInfo(int userId, const QHash<QString, QString> &fields);
    ApiResult countries(const QString &languageCode) const;

    static QString md5Hex(const QString &text);
    static bool isEmailAddress(const QString &text);

private:
    struct User
    {
        int id = 0;
        QString userName;
        QString password; // plain, as the fixture or the registration gave it
        QString token;
        QString tokenOutTime;
        int type = 1;
        QString state; // "", "disabled", "auditing"
        bool tokenExpired = false;
        QJsonObject profile;
    };

    void load();
    int findByName(const QString &name) const; // index or -1
    int findById(int id) const;
    QString countryName(int id, const QString &languageCode) const;
    bool codeAccepted(const QString &email, const QString &code) const;

    const QJsonObject mFixture;
    mutable std::mutex mMutex;
    QVector<User> mUsers;
    QJsonArray mCountries;
    QString mVerificationCode;
    bool mRequireSend = true;
    QSet<QString> mCodesSent; // lower-case e-mail addresses
    int mNextUserId = 1;
    int mTokenSerial = 0;
};
