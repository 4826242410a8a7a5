#pragma once

#include <QLoggingCategory>

// Debug output of the download progress page; off unless enabled with
// QT_LOGGING_RULES="dravik.progress.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcProgress)
