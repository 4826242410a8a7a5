#pragma once

#include "ProductCallThread.h"

#include <Sornet/ReplaceEmptyCarConfigurationParam.h>
#include <Sornet/ReplaceEmptyCarConfigurationResponse.h>

using ReplaceEmptyCarConfigurationCall =
    ProductCallThread<ReplaceEmptyCarConfigurationParam, ReplaceEmptyCarConfigurationResponse,
                      &ProductAction::replaceEmptyCarConfiguration>;

// Submits, off the GUI thread, the vehicle and languages chosen for a
// single-vehicle product; `finish` carries a
// ReplaceEmptyCarConfigurationResponse.
class ReplaceEmptyCarConfigurationThread : public ReplaceEmptyCarConfigurationCall
{
    Q_OBJECT
public:
    using ReplaceEmptyCarConfigurationCall::ReplaceEmptyCarConfigurationCall;
};
