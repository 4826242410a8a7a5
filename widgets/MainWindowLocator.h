#pragma once

class QMainWindow;

// Finds the application's main window, which dialogs and notifications
// cover or centre on. Looked up afresh on every call: the window may come
// and go (login dialog first, then the main window, then a restart).
class MainWindowLocator
{
public:
    // The last top-level main window, or nullptr.
    static QMainWindow *find();
};
