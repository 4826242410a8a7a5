#pragma once

#include <QLoggingCategory>

// Debug output of the software list page and its workers; off unless
// enabled with QT_LOGGING_RULES="dravik.software.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSoftware)
