#include "Pictures.h"

#include <QFileInfo>
#include <QGuiApplication>

QPixmap Pictures::load(const QString &path)
{
    if (qApp && qGuiApp->devicePixelRatio() > 1.0) {
        const QFileInfo info(path);
        const QString sharp =
            info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@2x.") + info.suffix();
        QPixmap picture(sharp);
        if (!picture.isNull()) {
            picture.setDevicePixelRatio(2.0);
            return picture;
        }
    }
    return QPixmap(path);
}

QSize Pictures::logicalSize(const QPixmap &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    return ratio > 0 ? QSize(qRound(picture.width() / ratio), qRound(picture.height() / ratio)) : picture.size();
}
