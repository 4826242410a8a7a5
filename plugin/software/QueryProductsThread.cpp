#include "QueryProductsThread.h"

QueryProductsThread::QueryProductsThread(QObject *parent)
    : QThread(parent)
{
}

QueryProductsThread::~QueryProductsThread()
{
    wait();
}

void QueryProductsThread::setParam(const QString &token, long userId)
{
    mParam.setToken(token);
    mParam.setUser_id(userId);
}

void QueryProductsThread::run()
{
    emit begin();
    mResponse.clear();
    // The action lives on this thread, with its network access.
    ProductAction action;
    const int code = action.queryProduct(mResponse, mParam);
    emit finish(code, QVariant::fromValue(mResponse));
}
