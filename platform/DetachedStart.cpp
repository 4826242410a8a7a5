#include "DetachedStart.h"

#include <QProcess>

bool DetachedStart::start(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}
