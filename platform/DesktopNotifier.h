#pragma once

#include <QString>

// Notices in the desktop's notification area, for news that should reach
// the user while another window is in front.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier();
    // Sent and not waited for: without a notification service nothing
    // happens, and nothing is held up.
    virtual void notify(const QString &title, const QString &text) = 0;
};
