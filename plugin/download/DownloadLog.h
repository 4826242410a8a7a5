#pragma once

#include <QLoggingCategory>

// Progress, answers and failures of archive downloads; off by default.
Q_DECLARE_LOGGING_CATEGORY(lcDownload)
