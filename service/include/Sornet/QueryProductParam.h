#pragma once

#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT QueryProductParam : public BaseParam
{
    Q_OBJECT

public:
    explicit QueryProductParam(QObject *parent = nullptr);
    QueryProductParam(const QueryProductParam &other);
    QueryProductParam &operator=(const QueryProductParam &other);
};
