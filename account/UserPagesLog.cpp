#include "UserPagesLog.h"

Q_LOGGING_CATEGORY(lcUserPages, "ostrel.userpages", QtWarningMsg)
