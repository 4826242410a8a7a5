#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

// The service spells the phone key "telphone"; the accessors keep the usual spelling.
class SORNET_EXPORT ModifyUserInfoParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(QString address READ getAddress WRITE setAddress)
    Q_PROPERTY(QString city READ getCity WRITE setCity)
    Q_PROPERTY(QString company READ getCompany WRITE setCompany)
    Q_PROPERTY(int country_id READ getCountry_id WRITE setCountry_id)
    Q_PROPERTY(QString email READ getEmail WRITE setEmail)
    Q_PROPERTY(QString fax READ getFax WRITE setFax)
    Q_PROPERTY(QString first_name READ getFirst_name WRITE setFirst_name)
    Q_PROPERTY(QString last_name READ getLast_name WRITE setLast_name)
    Q_PROPERTY(QString middle_name READ getMiddle_name WRITE setMiddle_name)
    Q_PROPERTY(QString nick_name READ getNick_name WRITE setNick_name)
    Q_PROPERTY(QString province READ getProvince WRITE setProvince)
    Q_PROPERTY(QString telphone READ getTelephone WRITE setTelephone)
    Q_PROPERTY(QString zip READ getZip WRITE setZip)

public:
    explicit ModifyUserInfoParam(QObject *parent = nullptr);
    ModifyUserInfoParam(const ModifyUserInfoParam &other);
    ModifyUserInfoParam &operator=(const ModifyUserInfoParam &other);

    QString getAddress() const { return mAddress; }
    void setAddress(const QString &value) { mAddress = value; }
    QString getCity() const { return mCity; }
    void setCity(const QString &value) { mCity = value; }
    QString getCompany() const { return mCompany; }
    void setCompany(const QString &value) { mCompany = value; }
    int getCountry_id() const { return mCountry_id; }
    void setCountry_id(int value) { mCountry_id = value; }
    QString getEmail() const { return mEmail; }
    void setEmail(const QString &value) { mEmail = value; }
    QString getFax() const { return mFax; }
    void setFax(const QString &value) { mFax = value; }
    QString getFirst_name() const { return mFirst_name; }
    void setFirst_name(const QString &value) { mFirst_name = value; }
    QString getLast_name() const { return mLast_name; }
    void setLast_name(const QString &value) { mLast_name = value; }
    QString getMiddle_name() const { return mMiddle_name; }
    void setMiddle_name(const QString &value) { mMiddle_name = value; }
    QString getNick_name() const { return mNick_name; }
    void setNick_name(const QString &value) { mNick_name = value; }
    QString getProvince() const { return mProvince; }
    void setProvince(const QString &value) { mProvince = value; }
    QString getTelephone() const { return mTelphone; }
    void setTelephone(const QString &value) { mTelphone = value; }
    QString getZip() const { return mZip; }
    void setZip(const QString &value) { mZip = value; }

private:
    QString mAddress;
    QString mCity;
    QString mCompany;
    int mCountry_id = 0;
    QString mEmail;
    QString mFax;
    QString mFirst_name;
    QString mLast_name;
    QString mMiddle_name;
    QString mNick_name;
    QString mProvince;
    QString mTelphone;
    QString mZip;
};
