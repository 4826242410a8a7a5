#include "RecordsLog.h"

Q_LOGGING_CATEGORY(lcRecords, "dravik.records", QtWarningMsg)
