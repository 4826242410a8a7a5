#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <Sornet/sornet_export.h>

// One product (scanner) registered to the user.
class SORNET_EXPORT ProductBean : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString img_url READ getImg_url WRITE setImg_url)
    Q_PROPERTY(QStringList languages READ getLanguages WRITE setLanguages)
    Q_PROPERTY(QString pro_code READ getPro_code WRITE setPro_code)
    Q_PROPERTY(long pro_id READ getPro_id WRITE setPro_id)
    Q_PROPERTY(QString pro_name READ getPro_name WRITE setPro_name)
    Q_PROPERTY(QString pro_type READ getPro_type WRITE setPro_type)
    Q_PROPERTY(QString reg_date READ getReg_date WRITE setReg_date)
    Q_PROPERTY(QString serial_number READ getSerial_number WRITE setSerial_number)

public:
    explicit ProductBean(QObject *parent = nullptr);
    ProductBean(const ProductBean &other);
    ProductBean &operator=(const ProductBean &other);
    bool operator==(const ProductBean &other) const;
    bool operator!=(const ProductBean &other) const { return !(*this == other); }

    QString getImg_url() const { return mImg_url; }
    void setImg_url(const QString &value) { mImg_url = value; }
    QStringList &getLanguages() { return mLanguages; }
    const QStringList &getLanguages() const { return mLanguages; }
    void setLanguages(const QStringList &value) { mLanguages = value; }
    QString getPro_code() const { return mPro_code; }
    void setPro_code(const QString &value) { mPro_code = value; }
    long getPro_id() const { return mPro_id; }
    void setPro_id(long value) { mPro_id = value; }
    QString getPro_name() const { return mPro_name; }
    void setPro_name(const QString &value) { mPro_name = value; }
    QString getPro_type() const { return mPro_type; }
    void setPro_type(const QString &value) { mPro_type = value; }
    QString getReg_date() const { return mReg_date; }
    void setReg_date(const QString &value) { mReg_date = value; }
    QString getSerial_number() const { return mSerial_number; }
    void setSerial_number(const QString &value) { mSerial_number = value; }

private:
    QString mImg_url;
    QStringList mLanguages;
    QString mPro_code;
    long mPro_id = 0;
    QString mPro_name;
    QString mPro_type;
    QString mReg_date;
    QString mSerial_number;
};

Q_DECLARE_METATYPE(ProductBean)
