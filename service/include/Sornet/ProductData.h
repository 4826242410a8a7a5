#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <Sornet/ProductBean.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ProductData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<ProductBean> lists READ getLists WRITE setLists)
    Q_PROPERTY(int page_index READ getPage_index WRITE setPage_index)
    Q_PROPERTY(int page_nums READ getPage_nums WRITE setPage_nums)

public:
    explicit ProductData(QObject *parent = nullptr);
    ProductData(const ProductData &other);
    ProductData &operator=(const ProductData &other);
    bool operator==(const ProductData &other) const;
    bool operator!=(const ProductData &other) const { return !(*this == other); }

    QList<ProductBean> &getLists() { return mLists; }
    const QList<ProductBean> &getLists() const { return mLists; }
    void setLists(const QList<ProductBean> &value) { mLists = value; }
    int getPage_index() const { return mPage_index; }
    void setPage_index(int value) { mPage_index = value; }
    int getPage_nums() const { return mPage_nums; }
    void setPage_nums(int value) { mPage_nums = value; }

private:
    QList<ProductBean> mLists;
    int mPage_index = 0;
    int mPage_nums = 0;
};

Q_DECLARE_METATYPE(ProductData)
