#include "UpgradeLog.h"

Q_LOGGING_CATEGORY(lcUpgrade, "dravik.upgrade", QtWarningMsg)
