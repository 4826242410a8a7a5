#pragma once

#include <QStringList>

// Starts a program that outlives this process (the restart, an update package).
class DetachedStart
{
public:
    static bool start(const QString &program, const QStringList &arguments = QStringList());
};
