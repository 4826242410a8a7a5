#include "SampleCardGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ostrel-samplecard"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a sample scanner card into a folder."));
    parser.addHelpOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Folder to write the card into."), QStringLiteral("folder"));
    const QCommandLineOption serial({QStringLiteral("s"), QStringLiteral("serial")},
                                    QStringLiteral("Serial number written to sn.txt."), QStringLiteral("serial"),
                                    QStringLiteral("SCN0123456789"));
    const QCommandLineOption vehicles(QStringLiteral("vehicles"), QStringLiteral("Number of vehicles."),
                                      QStringLiteral("n"), QStringLiteral("12"));
    const QCommandLineOption files(QStringLiteral("files"), QStringLiteral("Files per vehicle (at least 5)."),
                                   QStringLiteral("n"), QStringLiteral("8"));
    const QCommandLineOption noExtras(QStringLiteral("no-extras"),
                                      QStringLiteral("Leave out HOME, Public and the broken entries."));
    parser.addOptions({output, serial, vehicles, files, noExtras});
    parser.process(app);

    QTextStream err(stderr);
    if (!parser.isSet(output)) {
        err << "ostrel-samplecard: --output is required\n";
        return 2;
    }
    bool okV = false;
    bool okF = false;
    SampleCardGenerator::Options options;
    options.serial = parser.value(serial);
    options.vehicles = parser.value(vehicles).toInt(&okV);
    options.filesPerVehicle = parser.value(files).toInt(&okF);
    options.extras = !parser.isSet(noExtras);
    if (!okV || !okF || options.vehicles < 0 || options.filesPerVehicle < 0) {
        err << "ostrel-samplecard: --vehicles and --files take non-negative numbers\n";
        return 2;
    }
    SampleCardGenerator generator(options);
    if (!generator.generate(parser.value(output))) {
        err << "ostrel-samplecard: " << generator.errorString() << '\n';
        return 1;
    }
    QTextStream(stdout) << generator.fileCount() << " files written\n";
    return 0;
}
