#pragma once

#include <QString>
#include <QStringList>

// Writes a scanner card into a folder: "sn.txt", vehicles grouped by area
// with "version.txt", "Names.txt", a program file and text resources, the
// HOME software, the common text library and a few broken entries. The same
// options always give the same bytes.
class SampleCardGenerator
{
public:
    struct Options
    {
        QString serial = QStringLiteral("SCN0123456789");
        int vehicles = 12;
        // Files in each vehicle directory, its fixed files included (at
        // least 5: version, names, program file, two text resources).
        int filesPerVehicle = 8;
        // HOME, Public and the broken entries.
        bool extras = true;
    };

    SampleCardGenerator();
    explicit SampleCardGenerator(const Options &options);

    // Writes the card below `root` (created when missing).
    bool generate(const QString &root);
    QString errorString() const { return mError; }

    // After generate(): every file written, and the directory names of the
    // vehicles a scan should find (HOME and Public included when written).
    qint64 fileCount() const { return mFiles; }
    QStringList validVehicles() const { return mValid; }

    // Area and link of vehicle `index`, e.g. "EU" and "CAR0007".
    static QString areaOf(int index);
    static QString linkOf(int index);
    static QString versionOf(int index);
    // Names.txt of a vehicle in an area "CN" is stored in GB2312.
    static bool isChineseArea(const QString &area) { return area == QLatin1String("CN"); }
    static QString chineseNameOf(int index);
    static QString englishNameOf(int index);

private:
    bool writeFile(const QString &path, const QByteArray &content);
    bool writeVehicle(const QString &vehiclesDir, int index);
    bool writeExtras(const QString &vehiclesDir);
    static QByteArray filler(int seed, int size);

    Options mOptions;
    QString mError;
    qint64 mFiles = 0;
    QStringList mValid;
};
