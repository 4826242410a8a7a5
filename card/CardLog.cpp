#include "CardLog.h"

Q_LOGGING_CATEGORY(lcCard, "ostrel.card", QtWarningMsg)
