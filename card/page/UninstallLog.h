#pragma once

#include <QCoreApplication>
#include <QLoggingCategory>

// Debug output of the uninstall page; off unless enabled with
// QT_LOGGING_RULES="ostrel.uninstall.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcUninstall)

// The page, its model and its delegates share one translation context.
inline QString uninstallText(const char *source)
{
    return QCoreApplication::translate("Uninstall", source);
}
