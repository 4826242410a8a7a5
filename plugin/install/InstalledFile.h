#pragma once

#include <QString>
#include <QVector>

// One file an install put on a card, as the card gave it back right after:
// its path below the card root, its size, the CRC-32 of its bytes and its
// modification time there (seconds since the epoch).
struct InstalledFile
{
    QString path;
    quint64 size = 0;
    quint32 crc = 0;
    qint64 mtime = 0;
};

using InstalledFiles = QVector<InstalledFile>;
