#include "AccountStore.h"

#include "ResultCodes.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRegularExpression>
#include <QUuid>

namespace {

const char *const ProfileKeys[] = {
    "address", "city", "company", "country", "country_id", "email", "fax", "user_name",
    "first_name", "last_name", "middle_name", "nick_name", "province", "telphone", "zip",
    "last_date", "last_ip", "reg_ip", "last_time", "reg_date",
};

// What a signed-in user may change in the profile ("country" follows country_id).
const char *const EditableKeys[] = {
    "address", "city", "company", "fax", "first_name", "last_name", "middle_name",
    "province", "telphone", "zip",
};

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

} // namespace

AccountStore::AccountStore(const QJsonObject &fixture)
    : mFixture(fixture)
{
    load();
}

void AccountStore::reset()
{
    std::lock_guard<std::mutex> lock(mMutex);
    load();
}

void AccountStore::load()
{
    mUsers.clear();
    mCodesSent.clear();
    mNextUserId = 1;
    const QJsonArray users = mFixture.value(QStringLiteral("users")).toArray();
    for (const QJsonValue &value : users) {
        const QJsonObject o = value.toObject();
        User u;
        u.id = o.value(QStringLiteral("user_id")).toInt();
        u.userName = o.value(QStringLiteral("user_name")).toString();
        u.password = o.value(QStringLiteral("password")).toString();
        u.token = o.value(QStringLiteral("token")).toString();
        u.tokenOutTime = o.value(QStringLiteral("token_outtime")).toString(QStringLiteral("2099-12-31 23:59:59"));
        u.type = o.value(QStringLiteral("type")).toInt(1);
        u.state = o.value(QStringLiteral("state")).toString();
        u.tokenExpired = o.value(QStringLiteral("token_expired")).toBool();
        u.profile = o.value(QStringLiteral("profile")).toObject();
        if (!u.profile.contains(QStringLiteral("email")) && isEmailAddress(u.userName))
            u.profile.insert(QStringLiteral("email"), u.userName);
        if (u.id <= 0 || u.userName.isEmpty())
            continue;
        mNextUserId = qMax(mNextUserId, u.id + 1);
        mUsers.append(u);
    }
    mCountries = mFixture.value(QStringLiteral("countries")).toArray();
    const QJsonObject verification = mFixture.value(QStringLiteral("verification")).toObject();
    mVerificationCode = verification.value(QStringLiteral("code")).toString(QStringLiteral("1234"));
    mRequireSend = verification.value(QStringLiteral("require_send")).toBool(true);
}

QString AccountStore::md5Hex(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

bool AccountStore::isEmailAddress(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[\\w.+-]+@[\\w-]+(\\.[\\w-]+)+$"));
    return pattern.match(text).hasMatch();
}

int AccountStore::findByName(const QString &name) const
{
    for (int i = 0; i < mUsers.size(); ++i) {
        const User &u = mUsers.at(i);
        if (u.userName.compare(name, Qt::CaseInsensitive) == 0
            || (!name.isEmpty()
                && u.profile.value(QStringLiteral("email")).toString().compare(name, Qt::CaseInsensitive) == 0))
            return i;
    }
    return -1;
}

int AccountStore::findById(int id) const
{
    for (int i = 0; i < mUsers.size(); ++i) {
        if (mUsers.at(i).id == id)
            return i;
    }
    return -1;
}

int AccountStore::checkToken(const QString &token, const QString &userId, int *id) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    bool ok = false;
    const int uid = userId.toInt(&ok);
    const int index = ok ? findById(uid) : -1;
    if (token.isEmpty() || index < 0 || mUsers.at(index).token != token)
        return ResultCodes::TokenInvalid;
    if (mUsers.at(index).tokenExpired)
        return ResultCodes::TokenExpired;
    if (id)
        *id = uid;
    return ResultCodes::Success;
}

bool AccountStore::hasUser(int userId) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return findById(userId) >= 0;
}

ApiResult AccountStore::login(const QString &userName, const QString &passwordDigest)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (userName.isEmpty() || passwordDigest.isEmpty())
        return ApiResult::fail(ResultCodes::ParamMissing);
    const int index = findByName(userName);
    if (index < 0)
        return ApiResult::fail(ResultCodes::UserNotExists);
    User &u = mUsers[index];
    // The client sends the digest, never the password itself.
    if (md5Hex(u.password).compare(passwordDigest, Qt::CaseInsensitive) != 0)
        return ApiResult::fail(ResultCodes::WrongPassword);
    if (u.state == QLatin1String("disabled"))
        return ApiResult::fail(ResultCodes::UserDisabled);
    if (u.state == QLatin1String("auditing"))
        return ApiResult::fail(ResultCodes::UserAuditing);
    // A fixed token stays valid across sign-ins so that tests can use it
    // directly; users without one get a fresh token per run.
    if (u.token.isEmpty())
        u.token = QStringLiteral("tok-%1-%2").arg(u.id).arg(QUuid::createUuid().toString(QUuid::Id128).left(16));
    u.profile.insert(QStringLiteral("last_time"),
                     QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    QJsonObject data;
    data.insert(QStringLiteral("user_id"), u.id);
    data.insert(QStringLiteral("user_name"), u.userName);
    data.insert(QStringLiteral("type"), u.type);
    data.insert(QStringLiteral("token"), u.token);
    data.insert(QStringLiteral("token_outtime"), u.tokenOutTime);
    return ApiResult::ok(data);
}

bool AccountStore::codeAccepted(const QString &email, const QString &code) const
{
    if (code.isEmpty() || code != mVerificationCode)
        return false;
    return !mRequireSend || mCodesSent.contains(email.toLower());
}

ApiResult AccountStore::registerUser(const QString &userName, const QString &password, const QString &email,
                                     const QString &countryId, const QString &code)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (userName.isEmpty() || password.isEmpty() || email.isEmpty())
        return ApiResult::fail(ResultCodes::ParamMissing);
    if (!isEmailAddress(email))
        return ApiResult::fail(ResultCodes::EmailFormat);
    if (userName.size() < 6 || password.size() < 6)
        return ApiResult::fail(ResultCodes::NameOrPasswordLength);
    if (findByName(userName) >= 0 || findByName(email) >= 0)
        return ApiResult::fail(ResultCodes::UserExists);
    if (!codeAccepted(email, code))
        return ApiResult::fail(ResultCodes::VerificationCode);
    User u;
    u.id = mNextUserId++;
    u.userName = userName;
    u.password = password;
    u.profile.insert(QStringLiteral("email"), email);
    u.profile.insert(QStringLiteral("country_id"), countryId.toInt());
    u.profile.insert(QStringLiteral("reg_date"),
                     QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    u.profile.insert(QStringLiteral("reg_ip"), QStringLiteral("127.0.0.1"));
    mUsers.append(u);
    mCodesSent.remove(email.toLower());
    return ApiResult::ok();
}

ApiResult AccountStore::checkName(const QString &userName) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (userName.isEmpty())
        return ApiResult::fail(ResultCodes::ParamMissing);
    return ApiResult::ok(findByName(userName) >= 0);
}

ApiResult AccountStore::sendCode(const QString &email, const QString &type)
{
    Q_UNUSED(type)
    std::lock_guard<std::mutex> lock(mMutex);
    if (email.isEmpty())
        return ApiResult::fail(ResultCodes::EmptyEmail);
    if (!isEmailAddress(email))
        return ApiResult::fail(ResultCodes::EmailFormat3);
    mCodesSent.insert(email.toLower());
    return ApiResult::ok(QString(QStringLiteral("The verification code has been sent to ") + email));
}

ApiResult AccountStore::resetPassword(const QString &email, const QString &password, const QString &code)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (email.isEmpty() || password.isEmpty() || code.isEmpty())
        return ApiResult::fail(ResultCodes::ParamMissing);
    const int index = findByName(email);
    if (index < 0)
        return ApiResult::fail(ResultCodes::UserNotExists);
    if (!codeAccepted(email, code))
        return ApiResult::fail(ResultCodes::VerificationCode);
    if (password.size() < 6)
        return ApiResult::fail(ResultCodes::PasswordLength);
    mUsers[index].password = password;
    mCodesSent.remove(email.toLower());
    return ApiResult::ok(QStringLiteral("Password reset"));
}

ApiResult AccountStore::modifyPassword(int userId, const QString &password, const QString &oldPassword)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const int index = findById(userId);
    if (index < 0)
        return ApiResult::fail(ResultCodes::TokenInvalid);
    User &u = mUsers[index];
    // The old password may come as typed or as its digest.
    if (oldPassword != u.password && oldPassword.compare(md5Hex(u.password), Qt::CaseInsensitive) != 0)
        return ApiResult::fail(ResultCodes::ModifyPassword);
    if (password.size() < 6)
        return ApiResult::fail(ResultCodes::PasswordLength);
    u.password = password;
    return ApiResult::ok(QStringLiteral("Password changed"));
}

QString AccountStore::countryName(int id, const QString &languageCode) const
{
    for (const QJsonValue &value : mCountries) {
        const QJsonObject c = value.toObject();
        if (c.value(QStringLiteral("id")).toInt() != id)
            continue;
        const QString local = c.value(QStringLiteral("names")).toObject().value(languageCode).toString();
        return local.isEmpty() ? c.value(QStringLiteral("name")).toString() : local;
    }
    return QString();
}

ApiResult AccountStore::userInfo(int userId) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    const int index = findById(userId);
    if (index < 0)
        return ApiResult::fail(ResultCodes::TokenInvalid);
    const User &u = mUsers.at(index);
    QJsonObject data;
    for (const char *name : ProfileKeys) {
        const QString k = key(name);
        if (k == QLatin1String("country_id"))
            data.insert(k, u.profile.value(k).toInt());
        else
            data.insert(k, u.profile.value(k).toString());
    }
    data.insert(QStringLiteral("user_name"), u.userName);
    data.insert(QStringLiteral("country"), countryName(u.profile.value(QStringLiteral("country_id")).toInt(), QString()));
    return ApiResult::ok(data);
}

ApiResult AccountStore::modifyUserInfo(int userId, const QHash<QString, QString> &fields)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const int index = findById(userId);
    if (index < 0)
        return ApiResult::fail(ResultCodes::TokenInvalid);
    User &u = mUsers[index];
    // The client sends "email" and "nick_name" empty when it does not edit
    // them; an empty value there keeps what is stored.
    const QString email = fields.value(QStringLiteral("email"));
    if (!email.isEmpty()) {
        if (!isEmailAddress(email))
            return ApiResult::fail(ResultCodes::EmailFormat);
        const int other = findByName(email);
        if (other >= 0 && other != index)
            return ApiResult::fail(ResultCodes::ModifyEmail);
        u.profile.insert(QStringLiteral("email"), email);
    }
    const QString nick = fields.value(QStringLiteral("nick_name"));
    if (!nick.isEmpty())
        u.profile.insert(QStringLiteral("nick_name"), nick);
    for (const char *name : EditableKeys) {
        const QString k = key(name);
        if (fields.contains(k))
            u.profile.insert(k, fields.value(k));
    }
    if (fields.contains(QStringLiteral("country_id")))
        u.profile.insert(QStringLiteral("country_id"), fields.value(QStringLiteral("country_id")).toInt());
    return ApiResult::ok(QStringLiteral("User information saved"));
}

ApiResult AccountStore::countries(const QString &languageCode) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    QJsonArray list;
    for (const QJsonValue &value : mCountries) {
        const int id = value.toObject().value(QStringLiteral("id")).toInt();
        QJsonObject c;
        c.insert(QStringLiteral("id"), id);
        c.insert(QStringLiteral("name"), countryName(id, languageCode));
        list.append(c);
    }
    return ApiResult::ok(list);
}
