#include "SoftwareLog.h"

Q_LOGGING_CATEGORY(lcSoftware, "dravik.software", QtWarningMsg)
