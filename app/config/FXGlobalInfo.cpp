#include "FXGlobalInfo.h"

#include <QGuiApplication>
#include <QScreen>

const char *const FXGlobalInfo::ConfigPath = ":/Config/Resources/Config/APPConfig.json";

namespace {
QStringList keys(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *k : list)
        out << QString::fromLatin1(k);
    return out;
}
} // namespace

FXGlobalInfo *FXGlobalInfo::instance()
{
    static FXGlobalInfo info{QString::fromLatin1(ConfigPath)};
    return &info;
}

QString FXGlobalInfo::layoutName()
{
    // Always the process's own layout: a document read on the side (a
    // preview, a check) must not change where every picture is looked up.
    return instance()->layoutNameOf();
}

FXGlobalInfo::FXGlobalInfo(const QString &configPath)
    : mConfig(configPath)
{
    const QString edition = mConfig.textValue(keys({"APP", "edition"}));
    const bool debug = !edition.isEmpty() && edition == QLatin1String("debug");
    if (debug) {
        mLayoutMode = 1;
        mWindowSize = QSize(1200, 800);
    } else {
        mLayoutMode = 3;
        mWindowSize = QSize(1920, 1200);
    }
    mSignInSize = QSize(1200, 600);
}

QString FXGlobalInfo::layoutNameOf() const
{
    return mLayoutMode == 1 ? QStringLiteral("1200x800") : QStringLiteral("1920x1200");
}

QSize FXGlobalInfo::screenSize() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

bool FXGlobalInfo::windowFillsScreen() const
{
    return mWindowSize == screenSize();
}

QStringList FXGlobalInfo::elementPath(Element element) const
{
    switch (element) {
    case Title_bar: return keys({"UI", "Title_bar"});
    case Sub_title: return keys({"UI", "Sub_title"});
    case Sub_title_vseparate: return keys({"UI", "Sub_title", "vseparate"});
    case Title_bar_separate: return keys({"UI", "Title_bar", "separate"});
    case Edit1: return keys({"UI", "Edit1"});
    case Edit2: return keys({"UI", "Edit2"});
    case Edit3: return keys({"UI", "Edit3"});
    case Edit4: return keys({"UI", "Edit4"});
    case Button1: return keys({"UI", "Button1"});
    case Button2: return keys({"UI", "Button2"});
    case Button3: return keys({"UI", "Button3"});
    case Button4: return keys({"UI", "Button4"});
    case combobox_language: return keys({"UI", "combobox_language"});
    case circularProgressBar: return keys({"UI", "circularProgressBar"});
    case Label1: return keys({"UI", "Label1"});
    case Label2: return keys({"UI", "Label2"});
    case Label3: return keys({"UI", "Label3"});
    case Label4: return keys({"UI", "Label4"});
    case Button_bar: return keys({"UI", "Button_bar"});
    case Button_bar_item: return keys({"UI", "Button_bar", "item", "button"});
    case Button_bar_separate: return keys({"UI", "Button_bar", "separate"});
    case Button_bar_item_separate: return keys({"UI", "Button_bar", "item", "separate"});
    case radio_btn: return keys({"UI", "radio_btn"});
    case msg_box: return keys({"UI", "msg_box"});
    case spacer1: return keys({"UI", "spacer1"});
    case spacer2: return keys({"UI", "spacer2"});
    case spacer10: return keys({"UI", "spacer10"});
    case spacer15: return keys({"UI", "spacer15"});
    case spacer20: return keys({"UI", "spacer20"});
    case spacer25: return keys({"UI", "spacer25"});
    case spacer30: return keys({"UI", "spacer30"});
    case vspacer15: return keys({"UI", "vspacer15"});
    case grid_view_space: return keys({"UI", "grid_view_space", "space"});
    case clientView: return keys({"UI", "Common", "clientViewMargin"});
    }
    return QStringList();
}

int FXGlobalInfo::intAt(const QStringList &path) const
{
    return mConfig.intValue(path);
}

QSize FXGlobalInfo::size(Element element) const
{
    const QStringList base = elementPath(element);
    if (element == grid_view_space)
        return QSize(intAt(base + keys({"h_spacing"})), intAt(base + keys({"v_spacing"})));
    return QSize(intAt(base + keys({"width"})), intAt(base + keys({"height"})));
}

QMargins FXGlobalInfo::margins(Element element) const
{
    QStringList base;
    switch (element) {
    case Title_bar:
    case Edit1:
    case Button2:
    case combobox_language:
    case Button_bar_separate:
        base = elementPath(element) + keys({"margin"});
        break;
    case clientView:
        base = elementPath(element);
        break;
    default:
        return QMargins();
    }
    return QMargins(intAt(base + keys({"left"})), intAt(base + keys({"top"})),
                    intAt(base + keys({"right"})), intAt(base + keys({"bottom"})));
}

QColor FXGlobalInfo::color(Element element, State state) const
{
    QStringList path;
    switch (element) {
    case Title_bar: path = keys({"UI", "Title_bar", "background"}); break;
    case Title_bar_separate: path = keys({"UI", "Title_bar", "separate", "background"}); break;
    case Sub_title: path = keys({"UI", "Sub_title", "separate", "background"}); break;
    case Sub_title_vseparate: path = keys({"UI", "Sub_title", "vseparate", "background"}); break;
    case Button_bar_item:
        path = state == Pressed ? keys({"UI", "Button_bar", "item", "pressedBGColor"})
                                : keys({"UI", "Button_bar", "item", "normalBGColor"});
        break;
    case Button_bar_item_separate: path = keys({"UI", "Button_bar", "item", "separate", "background"}); break;
    case radio_btn:
        path = state == Pressed ? keys({"UI", "radio_btn", "item", "pressedBGColor"})
                                : keys({"UI", "radio_btn", "item", "normalBGColor"});
        break;
    default:
        return QColor();
    }
    const quint32 v = mConfig.textValue(path).toUInt(nullptr, 16);
    return QColor(int((v >> 24) & 0xff), int((v >> 16) & 0xff), int((v >> 8) & 0xff), int(v & 0xff));
}

qreal FXGlobalInfo::metric(const QStringList &path, qreal fallback) const
{
    const qreal v = mConfig.value(path).toDouble();
    return v > 0 ? v : fallback;
}

qreal FXGlobalInfo::titleBarHeight() const
{
    return metric(keys({"UI", "Title_bar", "bar", "height"}), 40);
}

qreal FXGlobalInfo::subTitleHeight() const
{
    return mConfig.value(keys({"UI", "Sub_title", "height"})).toDouble();
}

qreal FXGlobalInfo::tableLineWidth() const
{
    return metric(keys({"UI", "TableView", "list", "Line", "width"}), 1);
}

qreal FXGlobalInfo::tableItemMinHeight() const
{
    return metric(keys({"UI", "TableView", "list", "item", "miniHeight"}), 50);
}

qreal FXGlobalInfo::userInfoTitleHeight() const
{
    return metric(keys({"UI", "user_info_view", "title", "height"}), 180);
}

QFont FXGlobalInfo::font(int pointSize) const
{
    return QFont(QStringLiteral("MicroSoft YaHei"), pointSize, 50, false);
}

QString FXGlobalInfo::imagePath(const QString &file) const
{
    if (mLayoutMode != 1)
        return QString();
    const QString name = layoutNameOf();
    return QStringLiteral(":/") + name + QStringLiteral("/Resources/images/") + name + QLatin1Char('/') + file;
}
