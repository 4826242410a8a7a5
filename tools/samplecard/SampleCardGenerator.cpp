#include "SampleCardGenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCodec>

namespace {
const char *const kAreas[] = {"EU", "USA", "ASIA", "CN"};

QJsonObject entry(const QString &language, const QString &name, const QString &file)
{
    QJsonObject o;
    o.insert(QStringLiteral("language"), language);
    o.insert(QStringLiteral("name"), name);
    o.insert(QStringLiteral("file"), file);
    return o;
}
} // namespace

SampleCardGenerator::SampleCardGenerator() = default;

SampleCardGenerator::SampleCardGenerator(const Options &options)
    : mOptions(options)
{
}

QString SampleCardGenerator::areaOf(int index)
{
    return QString::fromLatin1(kAreas[index % 4]);
}

QString SampleCardGenerator::linkOf(int index)
{
    return QStringLiteral("CAR%1").arg(index, 4, 10, QLatin1Char('0'));
}

QString SampleCardGenerator::versionOf(int index)
{
    return QStringLiteral("V%1.%2").arg(10 + index % 7).arg(index % 100, 2, 10, QLatin1Char('0'));
}

QString SampleCardGenerator::chineseNameOf(int index)
{
    return QString::fromUtf8("车型%1号").arg(index);
}

QString SampleCardGenerator::englishNameOf(int index)
{
    return QStringLiteral("Vehicle %1").arg(index, 4, 10, QLatin1Char('0'));
}

QByteArray SampleCardGenerator::filler(int seed, int size)
{
    QByteArray bytes(size, '\0');
    quint32 x = quint32(seed) * 2654435761u + 1u;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = char('a' + (x >> 16) % 26);
    }
    return bytes;
}

bool SampleCardGenerator::writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        mError = QStringLiteral("cannot write ") + path;
        return false;
    }
    ++mFiles;
    return true;
}

bool SampleCardGenerator::generate(const QString &root)
{
    mError.clear();
    mFiles = 0;
    mValid.clear();
    QString base = root;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString vehicles = base + QStringLiteral("Vehicles/");
    if (!QDir().mkpath(vehicles)) {
        mError = QStringLiteral("cannot create ") + vehicles;
        return false;
    }
    if (!writeFile(base + QStringLiteral("sn.txt"), mOptions.serial.toUtf8() + '\n'))
        return false;
    for (int i = 0; i < mOptions.vehicles; ++i) {
        if (!writeVehicle(vehicles, i))
            return false;
    }
    return !mOptions.extras || writeExtras(vehicles);
}

bool SampleCardGenerator::writeVehicle(const QString &vehiclesDir, int index)
{
    const QString area = areaOf(index);
    const QString link = linkOf(index);
    const QString dir = vehiclesDir + area + QLatin1Char('/') + link + QLatin1Char('/');
    if (!QDir().mkpath(dir + QStringLiteral("Res/Text"))) {
        mError = QStringLiteral("cannot create ") + dir;
        return false;
    }
    const bool chinese = isChineseArea(area);
    const QString enFile = link + QStringLiteral("_EN.txt");
    const QString cnFile = link + QStringLiteral("_CN.txt");
    QJsonArray list;
    list.append(entry(QStringLiteral("en"), englishNameOf(index), enFile));
    if (chinese)
        list.append(entry(QStringLiteral("cn"), chineseNameOf(index), cnFile));
    else
        list.append(entry(QStringLiteral("de"), englishNameOf(index) + QStringLiteral(" (de)"), cnFile));
    QJsonObject names;
    names.insert(QStringLiteral("link"), link);
    names.insert(QStringLiteral("area"), area);
    names.insert(QStringLiteral("info_list"), list);
    QByteArray json = QJsonDocument(names).toJson(QJsonDocument::Indented);
    if (chinese) {
        // The scanner keeps Chinese descriptions in GB2312.
        json = QTextCodec::codecForName("GB2312")->fromUnicode(QString::fromUtf8(json));
    }

    const int fixed = 5;
    if (!writeFile(dir + QStringLiteral("version.txt"), versionOf(index).toUtf8() + "\r\n")
        || !writeFile(dir + QStringLiteral("Names.txt"), json)
        || !writeFile(dir + link + QStringLiteral(".bin"), filler(index, 512 + index % 256))
        || !writeFile(dir + QStringLiteral("Res/Text/") + enFile, filler(index + 1, 64))
        || !writeFile(dir + QStringLiteral("Res/Text/") + cnFile, filler(index + 2, 64)))
        return false;
    for (int j = fixed; j < mOptions.filesPerVehicle; ++j) {
        const QString name = dir + QStringLiteral("DATA%1.dat").arg(j, 5, 10, QLatin1Char('0'));
        if (!writeFile(name, filler(index * 131 + j, 16 + (index * 37 + j * 11) % 200)))
            return false;
    }
    mValid.append(link);
    return true;
}

bool SampleCardGenerator::writeExtras(const QString &vehiclesDir)
{
    const QString home = vehiclesDir + QStringLiteral("HOME/");
    const QString pub = vehiclesDir + QStringLiteral("Public/");
    const QString noBin = vehiclesDir + QStringLiteral("EU/NOBIN/");
    const QString badJson = vehiclesDir + QStringLiteral("EU/BADJSON/");
    const QString blank = vehiclesDir + QStringLiteral("USA/BLANKVER/");
    const QStringList dirs = {home + QStringLiteral("Config"), pub + QStringLiteral("Res/Text"),
                              noBin + QStringLiteral("Res/Text"), badJson, blank};
    for (const QString &d : dirs) {
        if (!QDir().mkpath(d)) {
            mError = QStringLiteral("cannot create ") + d;
            return false;
        }
    }
    const QByteArray goodNames = "{\"link\":\"NOBIN\",\"area\":\"EU\",\"info_list\":"
                                 "[{\"language\":\"en\",\"name\":\"No program\",\"file\":\"NOBIN_EN.txt\"}]}";
    const bool ok = writeFile(home + QStringLiteral("version.txt"), "V2.01.003\n")
        && writeFile(home + QStringLiteral("HOME.bin"), filler(9001, 1024))
        && writeFile(home + QStringLiteral("settings.dat"), filler(9002, 100))
        && writeFile(home + QStringLiteral("Config/user.cfg"), filler(9003, 40))
        && writeFile(pub + QStringLiteral("version.txt"), "V1.10\n")
        && writeFile(pub + QStringLiteral("Res/Text/COMMON_EN.txt"), filler(9004, 300))
        && writeFile(noBin + QStringLiteral("version.txt"), "V1.00\n")
        && writeFile(noBin + QStringLiteral("Names.txt"), goodNames)
        && writeFile(noBin + QStringLiteral("Res/Text/NOBIN_EN.txt"), filler(9005, 10))
        && writeFile(badJson + QStringLiteral("version.txt"), "V1.00\n")
        && writeFile(badJson + QStringLiteral("Names.txt"), "{\"link\": \"BADJSON\", \"area\": ")
        && writeFile(badJson + QStringLiteral("BADJSON.bin"), filler(9006, 10))
        && writeFile(blank + QStringLiteral("version.txt"), " \r\n\t\n")
        && writeFile(blank + QStringLiteral("Names.txt"), "{}")
        && writeFile(blank + QStringLiteral("BLANKVER.bin"), filler(9007, 10));
    if (ok)
        mValid << QStringLiteral("HOME") << QStringLiteral("Public");
    return ok;
}
