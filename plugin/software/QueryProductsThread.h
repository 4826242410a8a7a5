#pragma once

#include "ProductCallThread.h"

#include <Sornet/QueryProductParam.h>
#include <Sornet/QueryProductResponse.h>

using QueryProductsCall = ProductCallThread<QueryProductParam, QueryProductResponse, &ProductAction::queryProduct>;

// Asks the service, off the GUI thread, for the products of the user;
// `finish` carries a QueryProductResponse.
class QueryProductsThread : public QueryProductsCall
{
    Q_OBJECT
public:
    using QueryProductsCall::QueryProductsCall;

    void setParam(const QString &token, long userId);
};
