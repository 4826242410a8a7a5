#include "ProgressLog.h"

Q_LOGGING_CATEGORY(lcProgress, "dravik.progress", QtWarningMsg)
