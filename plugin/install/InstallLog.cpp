#include "InstallLog.h"

Q_LOGGING_CATEGORY(lcInstall, "dravik.install", QtWarningMsg)
