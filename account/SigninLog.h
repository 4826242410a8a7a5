#pragma once

#include <QLoggingCategory>

// Sign-in and registration pages.
Q_DECLARE_LOGGING_CATEGORY(lcSignin)
