#include "ArchiveExpectation.h"

#include "ArchiveExtractor.h"
#include "Card.h"
#include "CardFs.h"
#include "VersionOrder.h"

#include <QMap>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kVehicles = QStringLiteral("Vehicles");

struct Folder
{
    bool version = false;
    bool names = false;
    bool program = false;
};

bool below(const QString &path, const QString &folder)
{
    return path.size() > folder.size() && path.at(folder.size()) == QLatin1Char('/')
           && path.startsWith(folder, Qt::CaseInsensitive);
}
// The first entry that does not lie inside `folder` (the folders above it
// aside): a package touches nothing but its own folder.
QString strayEntry(ArchiveExtractor &archive, const QString &folder)
{
    for (int i = 0; i < archive.count(); ++i) {
        const ArchiveExtractor::Entry &e = archive.entry(i);
        if (e.path == folder || e.path.startsWith(folder + QLatin1Char('/')))
            continue;
        if (e.isDir && folder.startsWith(e.path + QLatin1Char('/')))
            continue;
        return QStringLiteral("\"%1\" lies outside the package's folder %2").arg(e.path, folder);
    }
    return QString();
}

// A folder above `folder` on the card that holds another package: the new
// one would land inside it, where no scan looks for it.
QString insideAnotherPackage(const Card &card, const QString &folder)
{
    const int rootFd = CardFs::openRoot(card.root());
    if (rootFd < 0)
        return QString(); // the install itself will say the card is gone
    QString problem;
    const QStringList parts = folder.split(QLatin1Char('/'));
    for (int k = 2; k < parts.size() && problem.isEmpty(); ++k) {
        const QString above = QStringList(parts.mid(0, k)).join(QLatin1Char('/'));
        struct stat st;
        if (CardFs::statAt(rootFd, CardFs::encodeName(above + QStringLiteral("/version.txt")), &st))
            problem = QStringLiteral("%1 lies inside the package folder %2 on the card").arg(folder, above);
    }
    ::close(rootFd);
    return problem;
}
} // namespace

ArchiveExpectation::ArchiveExpectation(Kind kind, const QString &name, const QString &version,
                                       const QString &baseFolder)
    : mKind(kind)
    , mName(name)
    , mVersion(version)
    , mBaseFolder(baseFolder)
{
}

ArchiveExpectation ArchiveExpectation::forSoftware(const QString &softId, const QString &softType,
                                                   const QString &version)
{
    const auto is = [](const QString &text, const char *word) {
        return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    };
    if (is(softId, "COMTXTLIB") || is(softType, "COMTXTLIB"))
        return ArchiveExpectation(Kind::TextLibrary, QStringLiteral("Public"), version);
    if (is(softType, "HOME"))
        return ArchiveExpectation(Kind::Home, softId, version);
    if (is(softType, "VEHICLE"))
        return ArchiveExpectation(Kind::Vehicle, softId, version);
    return ArchiveExpectation();
}

ArchiveExpectation ArchiveExpectation::forPatch(const ArchiveExpectation &package, const QString &baseFolder,
                                                const QString &patchVersion)
{
    return ArchiveExpectation(package.mKind, package.mName, patchVersion, baseFolder);
}

ArchiveExpectation::Verdict ArchiveExpectation::check(ArchiveExtractor &archive, const Card &card, QString *folder,
                                                      QString *reason) const
{
    folder->clear();
    if (isNone())
        return Verdict::Holds;
    if (archive.count() == 0) {
        *reason = QStringLiteral("the archive is empty");
        return Verdict::NotThePackage;
    }
    for (int i = 0; i < archive.count(); ++i) {
        const ArchiveExtractor::Entry &e = archive.entry(i);
        // Spelt as the catalogue looks for it: elsewhere nothing would list it.
        if (!e.path.startsWith(kVehicles + QLatin1Char('/')) && !(e.isDir && e.path == kVehicles)) {
            *reason = QStringLiteral("\"%1\" lies outside Vehicles/").arg(e.path);
            return Verdict::NotThePackage;
        }
    }
    if (isPatch()) {
        const Verdict verdict = checkPatch(archive, reason);
        if (verdict == Verdict::Holds)
            *folder = mBaseFolder;
        return verdict;
    }
    return checkPackage(archive, card, folder, reason);
}

ArchiveExpectation::Verdict ArchiveExpectation::checkPatch(ArchiveExtractor &archive, QString *reason) const
{
    QString base = mBaseFolder;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    bool anyFile = false;
    for (int i = 0; i < archive.count(); ++i) {
        const ArchiveExtractor::Entry &e = archive.entry(i);
        // The folders on the way to the base folder may be listed too.
        const bool onTheWay = e.isDir && (below(base, e.path) || e.path.compare(base, Qt::CaseInsensitive) == 0);
        if (!onTheWay && !below(e.path, base)) {
            *reason = QStringLiteral("\"%1\" lies outside the base package's folder %2").arg(e.path, base);
            return Verdict::NotThePackage;
        }
        anyFile = anyFile || !e.isDir;
    }
    if (!anyFile) {
        *reason = QStringLiteral("the patch holds no file for %1").arg(base);
        return Verdict::NotThePackage;
    }
    return checkVersion(archive, base, reason);
}

ArchiveExpectation::Verdict ArchiveExpectation::checkPackage(ArchiveExtractor &archive, const Card &card,
                                                             QString *folder, QString *reason) const
{
    // Every folder named like the package, with what it directly holds.
    QMap<QString, Folder> named;
    for (int i = 0; i < archive.count(); ++i) {
        const ArchiveExtractor::Entry &e = archive.entry(i);
        const QStringList parts = e.path.split(QLatin1Char('/'));
        const int folders = e.isDir ? parts.size() : parts.size() - 1;
        for (int k = 2; k <= folders; ++k) {
            if (parts.at(k - 1).compare(mName, Qt::CaseInsensitive) == 0)
                named[QStringList(parts.mid(0, k)).join(QLatin1Char('/'))];
        }
        if (e.isDir)
            continue;
        const auto it = named.find(QStringList(parts.mid(0, parts.size() - 1)).join(QLatin1Char('/')));
        if (it == named.end())
            continue;
        const QString &leaf = parts.last();
        it->version = it->version || leaf == QLatin1String("version.txt");
        it->names = it->names || leaf == QLatin1String("Names.txt");
        it->program = it->program || (leaf.size() > 4 && leaf.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive));
    }
    if (named.isEmpty()) {
        *reason = QStringLiteral("the archive holds no folder \"%1\" below Vehicles/").arg(mName);
        return Verdict::NotThePackage;
    }
    QStringList candidates = named.keys();
    std::stable_sort(candidates.begin(), candidates.end(), [](const QString &a, const QString &b) {
        return a.count(QLatin1Char('/')) < b.count(QLatin1Char('/'));
    });
    QString firstProblem;
    for (const QString &candidate : qAsConst(candidates)) {
        const Folder &f = named[candidate];
        const Card::Package package = card.packageOf(card.root() + candidate + QLatin1Char('/'));
        QString problem;
        if (!f.version)
            problem = QStringLiteral("%1/version.txt is missing").arg(candidate);
        else if (mKind == Kind::Vehicle && !f.names)
            problem = QStringLiteral("%1/Names.txt is missing").arg(candidate);
        else if (mKind != Kind::TextLibrary && !f.program)
            problem = QStringLiteral("%1 holds no program file (*.bin)").arg(candidate);
        else if (mKind == Kind::Home && package != Card::Package::Home)
            problem = QStringLiteral("%1 is not where the card keeps the HOME software").arg(candidate);
        else if (mKind == Kind::TextLibrary && package != Card::Package::Public)
            problem = QStringLiteral("%1 is not where the card keeps the text library").arg(candidate);
        if (problem.isEmpty())
            problem = strayEntry(archive, candidate);
        if (problem.isEmpty())
            problem = insideAnotherPackage(card, candidate);
        if (problem.isEmpty()) {
            *folder = candidate;
            return checkVersion(archive, candidate, reason);
        }
        if (firstProblem.isEmpty())
            firstProblem = problem;
    }
    *reason = firstProblem;
    return Verdict::NotThePackage;
}

ArchiveExpectation::Verdict ArchiveExpectation::checkVersion(ArchiveExtractor &archive, const QString &folder,
                                                             QString *reason) const
{
    const int index = archive.indexOf(folder + QStringLiteral("/version.txt"));
    if (index < 0 || mVersion.isEmpty() || archive.entry(index).isDir)
        return Verdict::Holds;
    QByteArray content;
    if (!archive.read(index, &content, kVersionFileLimit)) {
        *reason = archive.errorString();
        return archive.isBroken() ? Verdict::Broken : Verdict::NotThePackage;
    }
    const QString version = QString::fromUtf8(content).trimmed();
    if (VersionOrder::same(version, mVersion))
        return Verdict::Holds;
    *reason = QStringLiteral("the archive holds version %1, not %2").arg(version, mVersion.trimmed());
    return Verdict::WrongVersion;
}
