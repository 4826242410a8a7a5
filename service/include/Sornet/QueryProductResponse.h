#pragma once

#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/ProductData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT QueryProductResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit QueryProductResponse(QObject *parent = nullptr);
    QueryProductResponse(const QueryProductResponse &other);
    QueryProductResponse &operator=(const QueryProductResponse &other);

    ProductData &getData() { return mData; }
    const ProductData &getData() const { return mData; }
    void setData(const ProductData &value) { mData = value; }

    // Back to the initial state, for reusing one response across calls.
    void clear();

private:
    ProductData mData;
};

Q_DECLARE_METATYPE(QueryProductResponse)
