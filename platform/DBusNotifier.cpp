#include "DBusNotifier.h"

#include "DesktopIdentity.h"
#include "PlatformLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUrl>
#include <QVariantMap>

void DBusNotifier::notify(const QString &title, const QString &text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(lcPlatform) << "no session bus for the notification:" << title;
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QString iconFile = DesktopIdentity::iconFile();
    const QString icon = iconFile.isEmpty() ? DesktopIdentity::applicationId() : QUrl::fromLocalFile(iconFile).toString();
    // The launcher's name lets the service show the program's name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), DesktopIdentity::applicationId()}};
    // Servers read the body as markup: package names and the service's
    // words are shown as written, never as a picture or a link.
    call << QStringLiteral("Ostrel") << uint(0) << icon << title << text.toHtmlEscaped() << QStringList() << hints
         << int(-1);
    // Not waited for: a missing or slow service must not hold up the page.
    if (!bus.send(call))
        qCDebug(lcPlatform) << "notification not sent:" << title;
}
