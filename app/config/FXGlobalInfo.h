#pragma once

#include "AppConfig.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QSize>
#include <QString>

// Sizes, margins, colours, fonts and image paths of the current screen
// layout, read from the embedded configuration document. One per process.
class FXGlobalInfo
{
public:
    enum Element {
        Title_bar,
        Sub_title,
        Sub_title_vseparate,
        Title_bar_separate,
        Edit1, Edit2, Edit3, Edit4,
        Button1, Button2, Button3, Button4,
        combobox_language,
        circularProgressBar,
        Label1, Label2, Label3, Label4,
        Button_bar,
        Button_bar_item,
        Button_bar_separate,
        Button_bar_item_separate,
        radio_btn,
        msg_box,
        spacer1, spacer2, spacer10, spacer15, spacer20, spacer25, spacer30,
        vspacer15,
        grid_view_space,
        clientView,
    };
    enum State { Normal, Pressed };

    static const char *const ConfigPath;

    static FXGlobalInfo *instance();
    // The layout name of the process: "1200x800" or "1920x1200".
    static QString layoutName();

    // Builds the layout from another document (tests); instance() uses ConfigPath.
    explicit FXGlobalInfo(const QString &configPath);

    int layoutMode() const { return mLayoutMode; }
    QString layoutNameOf() const;
    QSize windowSize() const { return mWindowSize; }
    QSize signInWindowSize() const { return mSignInSize; }
    QSize screenSize() const;
    // Frameless windows refuse dragging while this holds.
    bool windowFillsScreen() const;

    QSize size(Element element) const;
    QMargins margins(Element element) const;
    QColor color(Element element, State state = Normal) const;

    qreal titleBarHeight() const;
    qreal subTitleHeight() const;
    qreal tableLineWidth() const;
    qreal tableItemMinHeight() const;
    qreal userInfoTitleHeight() const;

    QFont font(int pointSize) const;
    // In layout 1 ":/1200x800/Resources/images/1200x800/<file>"; empty in layout 3.
    QString imagePath(const QString &file) const;

    const AppConfig &config() const { return mConfig; }

private:
    QStringList elementPath(Element element) const;
    int intAt(const QStringList &path) const;
    qreal metric(const QStringList &path, qreal fallback) const;

    int mLayoutMode = -1;
    QSize mWindowSize;
    QSize mSignInSize;
    AppConfig mConfig;
};
