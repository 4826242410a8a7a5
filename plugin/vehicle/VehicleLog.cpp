#include "VehicleLog.h"

Q_LOGGING_CATEGORY(lcVehicle, "dravik.vehicle", QtWarningMsg)
