#include "QueryProductsThread.h"

void QueryProductsThread::setParam(const QString &token, long userId)
{
    mParam.setToken(token);
    mParam.setUser_id(userId);
}
