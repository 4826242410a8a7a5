#include "UninstallLog.h"

Q_LOGGING_CATEGORY(lcUninstall, "ostrel.uninstall", QtWarningMsg)
