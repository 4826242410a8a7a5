#pragma once

#include <QMetaType>
#include <Sornet/AllCarListAndLanguageListData.h>
#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT GetAllCarListAndLanguageListResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(AllCarListAndLanguageListData data READ getData WRITE setData)

public:
    explicit GetAllCarListAndLanguageListResponse(QObject *parent = nullptr);
    GetAllCarListAndLanguageListResponse(const GetAllCarListAndLanguageListResponse &other);
    GetAllCarListAndLanguageListResponse &operator=(const GetAllCarListAndLanguageListResponse &other);

    AllCarListAndLanguageListData &getData() { return mData; }
    const AllCarListAndLanguageListData &getData() const { return mData; }
    void setData(const AllCarListAndLanguageListData &value) { mData = value; }

private:
    AllCarListAndLanguageListData mData;
};

Q_DECLARE_METATYPE(GetAllCarListAndLanguageListResponse)
