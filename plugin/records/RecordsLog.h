#pragma once

#include <QLoggingCategory>

// Debug output of the install manifests, the update history and the card
// check; off unless enabled with QT_LOGGING_RULES="dravik.records.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcRecords)
