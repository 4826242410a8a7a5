#include "ServiceCallThread.h"

void ServiceCallThread::run()
{
    emit begin();
    QVariant response;
    const int code = call(&response);
    emit finish(code, response);
}
