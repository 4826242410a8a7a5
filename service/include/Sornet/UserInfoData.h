#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT UserInfoData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString address READ getAddress WRITE setAddress)
    Q_PROPERTY(QString city READ getCity WRITE setCity)
    Q_PROPERTY(QString company READ getCompany WRITE setCompany)
    Q_PROPERTY(QString country READ getCountry WRITE setCountry)
    Q_PROPERTY(int country_id READ getCountry_id WRITE setCountry_id)
    Q_PROPERTY(QString email READ getEmail WRITE setEmail)
    Q_PROPERTY(QString fax READ getFax WRITE setFax)
    Q_PROPERTY(QString user_name READ getUser_name WRITE setUser_name)
    Q_PROPERTY(QString first_name READ getFirst_name WRITE setFirst_name)
    Q_PROPERTY(QString last_name READ getLast_name WRITE setLast_name)
    Q_PROPERTY(QString middle_name READ getMiddle_name WRITE setMiddle_name)
    Q_PROPERTY(QString nick_name READ getNick_name WRITE setNick_name)
    Q_PROPERTY(QString province READ getProvince WRITE setProvince)
    Q_PROPERTY(QString telphone READ getTelephone WRITE setTelephone)
    Q_PROPERTY(QString zip READ getZip WRITE setZip)
    Q_PROPERTY(QString last_date READ getLast_date WRITE setLast_date)
    Q_PROPERTY(QString last_ip READ getLast_ip WRITE setLast_ip)
    Q_PROPERTY(QString reg_ip READ getReg_ip WRITE setReg_ip)
    Q_PROPERTY(QString last_time READ getLast_time WRITE setLast_time)
    Q_PROPERTY(QString reg_date READ getReg_date WRITE setReg_date)

public:
    explicit UserInfoData(QObject *parent = nullptr);
    UserInfoData(const UserInfoData &other);
    UserInfoData &operator=(const UserInfoData &other);
    bool operator==(const UserInfoData &other) const;
    bool operator!=(const UserInfoData &other) const { return !(*this == other); }

    QString getAddress() const { return mAddress; }
    void setAddress(const QString &value) { mAddress = value; }
    QString getCity() const { return mCity; }
    void setCity(const QString &value) { mCity = value; }
    QString getCompany() const { return mCompany; }
    void setCompany(const QString &value) { mCompany = value; }
    QString getCountry() const { return mCountry; }
    void setCountry(const QString &value) { mCountry = value; }
    int getCountry_id() const { return mCountry_id; }
    void setCountry_id(int value) { mCountry_id = value; }
    QString getEmail() const { return mEmail; }
    void setEmail(const QString &value) { mEmail = value; }
    QString getFax() const { return mFax; }
    void setFax(const QString &value) { mFax = value; }
    QString getUser_name() const { return mUser_name; }
    void setUser_name(const QString &value) { mUser_name = value; }
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
    QString getLast_date() const { return mLast_date; }
    void setLast_date(const QString &value) { mLast_date = value; }
    QString getLast_ip() const { return mLast_ip; }
    void setLast_ip(const QString &value) { mLast_ip = value; }
    QString getReg_ip() const { return mReg_ip; }
    void setReg_ip(const QString &value) { mReg_ip = value; }
    QString getLast_time() const { return mLast_time; }
    void setLast_time(const QString &value) { mLast_time = value; }
    QString getReg_date() const { return mReg_date; }
    void setReg_date(const QString &value) { mReg_date = value; }

private:
    QString mAddress;
    QString mCity;
    QString mCompany;
    QString mCountry;
    int mCountry_id = 0;
    QString mEmail;
    QString mFax;
    QString mUser_name;
    QString mFirst_name;
    QString mLast_name;
    QString mMiddle_name;
    QString mNick_name;
    QString mProvince;
    QString mTelphone;
    QString mZip;
    QString mLast_date;
    QString mLast_ip;
    QString mReg_ip;
    QString mLast_time;
    QString mReg_date;
};

Q_DECLARE_METATYPE(UserInfoData)
