#pragma once

#include <QMainWindow>

class QLabel;
class QTabWidget;

// Every control of the widget kit in its states, one tab per group.
class GalleryWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit GalleryWindow(QWidget *parent = nullptr);

    // Tab names: controls, navigation, progress, table, dialogs.
    bool selectPage(const QString &name);
    // Opens a box or notification without blocking: msg-okno, msg-ok,
    // msg-yesok, msg-cancel, msg-none, toast, loading.
    bool openPreview(const QString &name);

private:
    QWidget *buildControls();
    QWidget *buildNavigation();
    QWidget *buildProgress();
    QWidget *buildTable();
    QWidget *buildDialogs();

    QTabWidget *mTabs = nullptr;
    QLabel *mResult = nullptr;
};
