#include "WidgetsLog.h"

Q_LOGGING_CATEGORY(lcWidgets, "ostrel.widgets", QtWarningMsg)
