#include "SigninLog.h"

Q_LOGGING_CATEGORY(lcSignin, "ostrel.signin", QtWarningMsg)
