#pragma once

#include "ProductCallThread.h"

#include <Sornet/GetAllCarListAndLanguageListParam.h>
#include <Sornet/GetAllCarListAndLanguageListResponse.h>

using GetAllCarListAndLanguageListCall =
    ProductCallThread<GetAllCarListAndLanguageListParam, GetAllCarListAndLanguageListResponse,
                      &ProductAction::getAllCarListAndLanguageList>;

// Asks the service, off the GUI thread, which vehicles and languages a
// single-vehicle product may be configured with; `finish` carries a
// GetAllCarListAndLanguageListResponse.
class GetAllCarListAndLanguageListThread : public GetAllCarListAndLanguageListCall
{
    Q_OBJECT
public:
    using GetAllCarListAndLanguageListCall::GetAllCarListAndLanguageListCall;
};
