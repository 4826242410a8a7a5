#pragma once

#include <QLoggingCategory>

// The user-information, settings and complaint pages.
Q_DECLARE_LOGGING_CATEGORY(lcUserPages)
