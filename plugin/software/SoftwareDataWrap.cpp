#include "SoftwareDataWrap.h"

namespace {
QList<SoftwareDataWrap> wrapAll(const QList<SoftwareData> &list)
{
    QList<SoftwareDataWrap> wrapped;
    wrapped.reserve(list.size());
    for (const SoftwareData &data : list)
        wrapped.append(SoftwareDataWrap(data));
    return wrapped;
}

QList<SoftwareData> unwrapAll(const QList<SoftwareDataWrap> &list)
{
    QList<SoftwareData> plain;
    plain.reserve(list.size());
    for (const SoftwareDataWrap &row : list)
        plain.append(row);
    return plain;
}
} // namespace

SoftwareDataWrap::SoftwareDataWrap(QObject *parent)
    : SoftwareData(parent)
{
}

SoftwareDataWrap::SoftwareDataWrap(const SoftwareData &data)
    : SoftwareData(data)
    , mPatches(wrapAll(data.getPatch_version()))
    , mHistory(wrapAll(data.getVersion_history()))
{
}

SoftwareDataWrap::SoftwareDataWrap(const SoftwareDataWrap &other)
    : SoftwareData(other)
    , mCurrentVersion(other.mCurrentVersion)
    , mChecked(other.mChecked)
    , mRequired(other.mRequired)
    , mState(other.mState)
    , mPatches(other.mPatches)
    , mHistory(other.mHistory)
{
}

SoftwareDataWrap &SoftwareDataWrap::operator=(const SoftwareDataWrap &other)
{
    if (this != &other) {
        SoftwareData::operator=(other);
        mCurrentVersion = other.mCurrentVersion;
        mChecked = other.mChecked;
        mRequired = other.mRequired;
        mState = other.mState;
        mPatches = other.mPatches;
        mHistory = other.mHistory;
    }
    return *this;
}

void SoftwareDataWrap::setPatch_version(const QList<SoftwareDataWrap> &value)
{
    mPatches = value;
    SoftwareData::setPatch_version(unwrapAll(value));
}

void SoftwareDataWrap::setVersion_history(const QList<SoftwareDataWrap> &value)
{
    mHistory = value;
    SoftwareData::setVersion_history(unwrapAll(value));
}

qint64 SoftwareDataWrap::sizeBytes() const
{
    bool ok = false;
    const qint64 bytes = getSoft_size().trimmed().toLongLong(&ok);
    return ok && bytes > 0 ? bytes : 0;
}
