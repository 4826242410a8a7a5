#pragma once

// Archives and cards for the install tests.
#include "TestEnv.h"
#include "ZipWriter.h"

#include <QBuffer>
#include <QMap>

#include <initializer_list>

namespace InstallTest {

using Entry = ZipWriter::Entry;

inline Entry file(const QByteArray &name, const QByteArray &data = QByteArray("data of ") + "entry")
{
    Entry e;
    e.name = name;
    e.data = data;
    return e;
}

inline Entry folder(const QByteArray &name)
{
    Entry e;
    e.name = name;
    e.deflate = false;
    return e;
}

template<class Change>
Entry with(Entry e, Change change)
{
    change(e);
    return e;
}

template<class Entries>
QByteArray archiveOf(const Entries &entries)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ZipWriter writer(&buffer);
    for (const Entry &e : entries)
        writer.add(e);
    writer.finish();
    return buffer.data();
}

inline QByteArray archiveOf(std::initializer_list<Entry> entries)
{
    return archiveOf<std::initializer_list<Entry>>(entries);
}

// A listed vehicle: version, program file and names.
inline bool writeVehicle(const QString &dir, const QByteArray &version)
{
    return TestEnv::writeFile(dir + QStringLiteral("version.txt"), version)
        && TestEnv::writeFile(dir + QStringLiteral("CAR.bin"), QByteArray(300, 'b') + version)
        && TestEnv::writeFile(dir + QStringLiteral("Names.txt"), R"({"info_list":[]})");
}

} // namespace InstallTest
