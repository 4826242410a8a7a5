// Whole archives installed onto a small card (in /dev/shm when there is one,
// with the old version of one vehicle to replace and a link to a folder
// beside the card). Property: nothing outside the card root ever changes,
// no staging folder stays, and a failed install leaves the card exactly as
// it was.
//
// Seeds: fuzz_install_archive --write-seeds DIR writes a few archives (a good
// one and the usual tricks) to start from; then
//   fuzz_install_archive -runs=1000000 CORPUS DIR
#include "InstallTestSupport.h"
#include "StagedInstall.h"

#include <QDir>

#include <cstdlib>
#include <cstring>

#include <unistd.h>

using namespace InstallTest;

namespace {
QString gBase; // holds "card/", "outside/" and the archive
QString gCard;
QMap<QString, QByteArray> gInitial;

void makeCard()
{
    QDir(gCard).removeRecursively(); // links are removed, not followed
    TestEnv::writeFile(gCard + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM");
    writeVehicle(gCard + QStringLiteral("Vehicles/EU/CAR/"), "V1.00");
    if (::symlink("../../../outside", QFile::encodeName(gCard + QStringLiteral("Vehicles/EU/LINK")).constData()) != 0)
        std::abort();
}

void writeSeeds(const QString &dir)
{
    const QByteArray big(20000, 'z');
    const QList<QByteArray> seeds{
        archiveOf({folder("Vehicles/EU/CAR/"), file("Vehicles/EU/CAR/version.txt", "V2.00"), file("Vehicles/EU/CAR/CAR.bin", big)}),
        archiveOf({with(file("Vehicles/EU/NEW/a.txt", "aaaa"), [](Entry &e) { e.deflate = false; }),
                   with(file("Vehicles/EU/NEW/b.txt", "bbbb"), [](Entry &e) { e.dataDescriptor = true; })}),
        archiveOf({file("../x"), file("Vehicles/EU/LINK/f")}),
        archiveOf({with(file("Vehicles/EU/L", "/tmp"), [](Entry &e) { e.unixMode = 0120777; }), file("Vehicles/EU/L/f")}),
        archiveOf({file("Vehicles/EU/CAR/a.bin", big), with(Entry(), [](Entry &e) {
                       e.name = "Vehicles/EU/CAR/b.bin";
                       e.aliasOf = 0;
                   })}),
        archiveOf({with(file("Vehicles/EU/CAR/big.bin", big), [](Entry &e) { e.zip64 = true; })})};
    for (int i = 0; i < seeds.size(); ++i)
        TestEnv::writeFile(dir + QStringLiteral("/seed%1.zip").arg(i), seeds.at(i));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (*argc >= 3 && std::strcmp((*argv)[1], "--write-seeds") == 0) {
        writeSeeds(QFile::decodeName((*argv)[2]));
        std::exit(0);
    }
    QByteArray base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/fuzz-install-XXXXXX" : "/tmp/fuzz-install-XXXXXX";
    if (!::mkdtemp(base.data()))
        std::abort();
    gBase = QFile::decodeName(base) + QLatin1Char('/');
    gCard = gBase + QStringLiteral("card/");
    TestEnv::writeFile(gBase + QStringLiteral("outside/keep.txt"), "keep");
    makeCard();
    gInitial = TestEnv::snapshot(gBase);
    std::atexit([] { QDir(gBase).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString archive = gBase + QStringLiteral("archive.zip");
    TestEnv::writeFile(archive, QByteArray(reinterpret_cast<const char *>(data), int(size)));
    bool ok = false;
    {
        StagedInstall install{Card(gCard)};
        install.setOldFolder(gCard + QStringLiteral("Vehicles/EU/CAR/"));
        install.setSpaceLimit(64 << 20);
        ok = install.begin() && install.openArchive(archive);
        for (int i = 0; ok && i < install.count(); ++i)
            ok = install.unpack(i, nullptr);
        ok = ok && install.commit(nullptr);
    }
    QMap<QString, QByteArray> now = TestEnv::snapshot(gBase);
    now.remove(archive);
    if (!ok && now != gInitial)
        __builtin_trap(); // a failure changed something
    // Beside the card nothing is new, changed or gone; no staging folder stays.
    auto beside = [](QMap<QString, QByteArray> tree) {
        for (auto it = tree.begin(); it != tree.end();)
            it = it.key().startsWith(gCard) ? tree.erase(it) : std::next(it);
        return tree;
    };
    if (beside(now) != beside(gInitial) || now.contains(gCard + QLatin1String(StagedInstall::kStagingFolder)))
        __builtin_trap();
    if (ok)
        makeCard();
    return 0;
}
