#include "GetAllCarListAndLanguageListThread.h"

#include <Sornet/ProductAction.h>

GetAllCarListAndLanguageListThread::GetAllCarListAndLanguageListThread(QObject *parent)
    : QThread(parent)
{
}

GetAllCarListAndLanguageListThread::~GetAllCarListAndLanguageListThread()
{
    wait();
}

void GetAllCarListAndLanguageListThread::run()
{
    emit begin();
    mResponse = GetAllCarListAndLanguageListResponse();
    // The action lives on this thread, with its network access.
    ProductAction action;
    const int code = action.getAllCarListAndLanguageList(mResponse, mParam);
    emit finish(code, QVariant::fromValue(mResponse));
}
