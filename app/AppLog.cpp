#include "AppLog.h"

Q_LOGGING_CATEGORY(lcApp, "ostrel.app", QtWarningMsg)
