#pragma once

#include <Sornet/SoftwareData.h>

#include <QList>
#include <QMetaType>
#include <QString>

// One row of the plug-in's tables: a package as the service lists it, with
// what the card holds and what the user chose. Its patch and history
// versions are rows of their own kind, so a chosen one can be handed on as
// it is.
class SoftwareDataWrap : public SoftwareData
{
    Q_OBJECT
    Q_PROPERTY(QString currentVersion READ getCurrentVersion WRITE setCurrentVersion)
    Q_PROPERTY(bool checked READ isChecked WRITE setChecked)
    Q_PROPERTY(bool required READ isRequired WRITE setRequired)
    Q_PROPERTY(QList<SoftwareDataWrap> patch_version READ getPatch_version WRITE setPatch_version)
    Q_PROPERTY(QList<SoftwareDataWrap> version_history READ getVersion_history WRITE setVersion_history)
    Q_PROPERTY(int state READ getState WRITE setState)

public:
    explicit SoftwareDataWrap(QObject *parent = nullptr);
    // A new row for `data`: ticked, nothing installed, state 0.
    explicit SoftwareDataWrap(const SoftwareData &data);
    SoftwareDataWrap(const SoftwareDataWrap &other);
    SoftwareDataWrap &operator=(const SoftwareDataWrap &other);

    QString getCurrentVersion() const { return mCurrentVersion; }
    void setCurrentVersion(const QString &value) { mCurrentVersion = value; }
    bool isChecked() const { return mChecked; }
    void setChecked(bool value) { mChecked = value; }
    bool isRequired() const { return mRequired; }
    void setRequired(bool value) { mRequired = value; }
    int getState() const { return mState; }
    void setState(int value) { mState = value; }

    // These shadow the service record's lists and keep them in step.
    const QList<SoftwareDataWrap> &getPatch_version() const { return mPatches; }
    void setPatch_version(const QList<SoftwareDataWrap> &value);
    const QList<SoftwareDataWrap> &getVersion_history() const { return mHistory; }
    void setVersion_history(const QList<SoftwareDataWrap> &value);

    // The service's size text as bytes; 0 when it is not a number.
    qint64 sizeBytes() const;

private:
    QString mCurrentVersion;
    bool mChecked = true;
    bool mRequired = false;
    int mState = 0;
    QList<SoftwareDataWrap> mPatches;
    QList<SoftwareDataWrap> mHistory;
};

Q_DECLARE_METATYPE(SoftwareDataWrap)
