#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <Sornet/sornet_export.h>

// One vehicle-software package as the service lists it; a value type so that worker threads can hand it over.
class SORNET_EXPORT SoftwareData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(long id READ getId WRITE setId)
    Q_PROPERTY(QString lang_code READ getLang_code WRITE setLang_code)
    Q_PROPERTY(QStringList languages READ getLanguages WRITE setLanguages)
    Q_PROPERTY(QString package_type READ getPackage_type WRITE setPackage_type)
    Q_PROPERTY(QString release_date READ getRelease_date WRITE setRelease_date)
    Q_PROPERTY(QString soft_id READ getSoft_id WRITE setSoft_id)
    Q_PROPERTY(QString soft_name READ getSoft_name WRITE setSoft_name)
    Q_PROPERTY(QString soft_size READ getSoft_size WRITE setSoft_size)
    Q_PROPERTY(QString soft_type READ getSoft_type WRITE setSoft_type)
    Q_PROPERTY(QString update_tips READ getUpdate_tips WRITE setUpdate_tips)
    Q_PROPERTY(QString version READ getVersion WRITE setVersion)
    Q_PROPERTY(QList<SoftwareData> patch_version READ getPatch_version WRITE setPatch_version)
    Q_PROPERTY(QList<SoftwareData> version_history READ getVersion_history WRITE setVersion_history)

public:
    explicit SoftwareData(QObject *parent = nullptr);
    SoftwareData(const SoftwareData &other);
    SoftwareData &operator=(const SoftwareData &other);
    bool operator==(const SoftwareData &other) const;
    bool operator!=(const SoftwareData &other) const { return !(*this == other); }

    long getId() const { return mId; }
    void setId(long value) { mId = value; }
    QString getLang_code() const { return mLang_code; }
    void setLang_code(const QString &value) { mLang_code = value; }
    QStringList &getLanguages() { return mLanguages; }
    const QStringList &getLanguages() const { return mLanguages; }
    void setLanguages(const QStringList &value) { mLanguages = value; }
    QString getPackage_type() const { return mPackage_type; }
    void setPackage_type(const QString &value) { mPackage_type = value; }
    QString getRelease_date() const { return mRelease_date; }
    void setRelease_date(const QString &value) { mRelease_date = value; }
    QString getSoft_id() const { return mSoft_id; }
    void setSoft_id(const QString &value) { mSoft_id = value; }
    QString getSoft_name() const { return mSoft_name; }
    void setSoft_name(const QString &value) { mSoft_name = value; }
    QString getSoft_size() const { return mSoft_size; }
    void setSoft_size(const QString &value) { mSoft_size = value; }
    QString getSoft_type() const { return mSoft_type; }
    void setSoft_type(const QString &value) { mSoft_type = value; }
    QString getUpdate_tips() const { return mUpdate_tips; }
    void setUpdate_tips(const QString &value) { mUpdate_tips = value; }
    QString getVersion() const { return mVersion; }
    void setVersion(const QString &value) { mVersion = value; }
    QList<SoftwareData> &getPatch_version() { return mPatch_version; }
    const QList<SoftwareData> &getPatch_version() const { return mPatch_version; }
    void setPatch_version(const QList<SoftwareData> &value) { mPatch_version = value; }
    QList<SoftwareData> &getVersion_history() { return mVersion_history; }
    const QList<SoftwareData> &getVersion_history() const { return mVersion_history; }
    void setVersion_history(const QList<SoftwareData> &value) { mVersion_history = value; }

private:
    long mId = 0;
    QString mLang_code;
    QStringList mLanguages;
    QString mPackage_type;
    QString mRelease_date;
    QString mSoft_id;
    QString mSoft_name;
    QString mSoft_size;
    QString mSoft_type;
    QString mUpdate_tips;
    QString mVersion;
    QList<SoftwareData> mPatch_version;
    QList<SoftwareData> mVersion_history;
};

Q_DECLARE_METATYPE(SoftwareData)
