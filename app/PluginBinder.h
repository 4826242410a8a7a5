#pragma once

#include <QString>

class QWidget;

// Finds the download plug-in in a folder and asks it for its page.
class PluginBinder
{
public:
    static const char *const FileSuffix; // "Dravik.so"

    // The widget the first loadable plug-in in `folder` creates for
    // "DOWNLOAD", or nullptr. Files that fail to load are logged and skipped.
    static QWidget *createDownloadPage(const QString &folder);
};
