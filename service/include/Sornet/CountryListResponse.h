#pragma once

#include <QList>
#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/CountryData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CountryListResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(QList<CountryData> data READ getData WRITE setData)

public:
    explicit CountryListResponse(QObject *parent = nullptr);
    CountryListResponse(const CountryListResponse &other);
    CountryListResponse &operator=(const CountryListResponse &other);

    QList<CountryData> &getData() { return mData; }
    const QList<CountryData> &getData() const { return mData; }
    void setData(const QList<CountryData> &value) { mData = value; }

private:
    QList<CountryData> mData;
};

Q_DECLARE_METATYPE(CountryListResponse)
