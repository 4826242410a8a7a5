#pragma once

#include "ServiceCallThread.h"

#include <Sornet/ProductAction.h>

// A ServiceCallThread for one call of the product service: `Call` of a
// ProductAction made on the worker, with `Param` in and `Response` out.
template<class Param, class Response, int (ProductAction::*Call)(Response &, Param &)>
class ProductCallThread : public ServiceCallThread
{
public:
    using ServiceCallThread::ServiceCallThread;
    ~ProductCallThread() override { wait(); }

    void setParam(const Param &param) { mParam = param; }
    const Param &param() const { return mParam; }

protected:
    int call(QVariant *response) override
    {
        mResponse = Response();
        ProductAction action;
        const int code = (action.*Call)(mResponse, mParam);
        *response = QVariant::fromValue(mResponse);
        return code;
    }

    Param mParam;
    Response mResponse;
};
