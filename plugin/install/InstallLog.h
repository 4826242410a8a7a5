#pragma once

#include <QLoggingCategory>

// Debug output of the download-URL and install jobs; off unless enabled with
// QT_LOGGING_RULES="dravik.install.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcInstall)
