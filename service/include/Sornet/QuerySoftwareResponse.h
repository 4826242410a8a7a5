#pragma once

#include <QList>
#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/SoftwareData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT QuerySoftwareResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(QList<SoftwareData> data READ getData WRITE setData)

public:
    explicit QuerySoftwareResponse(QObject *parent = nullptr);
    QuerySoftwareResponse(const QuerySoftwareResponse &other);
    QuerySoftwareResponse &operator=(const QuerySoftwareResponse &other);

    QList<SoftwareData> &getData() { return mData; }
    const QList<SoftwareData> &getData() const { return mData; }
    void setData(const QList<SoftwareData> &value) { mData = value; }

    // Back to the initial state, for reusing one response across calls.
    void clear();

private:
    QList<SoftwareData> mData;
};

Q_DECLARE_METATYPE(QuerySoftwareResponse)
