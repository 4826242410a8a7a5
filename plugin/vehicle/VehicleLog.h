#pragma once

#include <QLoggingCategory>

// Debug output of the vehicle selection page and its workers; off unless
// enabled with QT_LOGGING_RULES="dravik.vehicle.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcVehicle)
