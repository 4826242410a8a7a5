#include "ReplaceEmptyCarConfigurationThread.h"

#include <Sornet/ProductAction.h>

ReplaceEmptyCarConfigurationThread::ReplaceEmptyCarConfigurationThread(QObject *parent)
    : QThread(parent)
{
}

ReplaceEmptyCarConfigurationThread::~ReplaceEmptyCarConfigurationThread()
{
    wait();
}

void ReplaceEmptyCarConfigurationThread::run()
{
    emit begin();
    mResponse = ReplaceEmptyCarConfigurationResponse();
    ProductAction action;
    const int code = action.replaceEmptyCarConfiguration(mResponse, mParam);
    emit finish(code, QVariant::fromValue(mResponse));
}
