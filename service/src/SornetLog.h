#pragma once

#include <QLoggingCategory>

// Request, status and answer lines of the service client; off by default.
Q_DECLARE_LOGGING_CATEGORY(lcSornetHttp)
