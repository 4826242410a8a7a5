#pragma once

#include <QString>

class ArchiveExtractor;
class Card;

// What a downloaded archive must hold to install the package it was fetched
// for, checked on the archive's directory (and its version file, read in
// memory) before anything is written: an empty archive, or one holding only
// a readme, must not replace the installed package.
//
// A full package holds, below "Vehicles/" at any depth, a folder named like
// the package (letters in any case, as the software list matches a
// catalogue record's folder name against the soft id) that directly holds
// "version.txt"; a vehicle's also "Names.txt" and a program file "*.bin",
// HOME's a program file; HOME's and the text library's folder must be what
// the card calls the HOME software and the text library. A patch holds
// nothing but files inside its base package's folder. Every entry lies
// below "Vehicles/". Where the archive carries the package folder's
// version file, it names the version being installed.
class ArchiveExpectation
{
public:
    enum class Kind {
        None, // nothing is checked
        Vehicle,
        Home,
        TextLibrary
    };

    enum class Verdict {
        Holds,
        NotThePackage,
        WrongVersion,
        Broken // its version file cannot be read from the archive
    };

    Kind mKind = Kind::None;
    // The package folder's last component: the soft id of a vehicle and of
    // HOME, "Public" for the common text library.
    QString mName;
    // The version being installed; for a patch, the patch's version. Empty:
    // not compared.
    QString mVersion;
    // Only for a patch: the base package's folder below the card root, e.g.
    // "Vehicles/EU/BMW" (InstallRunnable::installedFolder() of the base).
    QString mBaseFolder;

    ArchiveExpectation() = default;
    ArchiveExpectation(Kind kind, const QString &name, const QString &version, const QString &baseFolder = QString());

    // For a row of the software list: HOME by its soft type, the common
    // text library by its soft id or type "COMTXTLIB", vehicles by the type
    // "VEHICLE"; other types (the program itself, firmware) are not
    // checked.
    static ArchiveExpectation forSoftware(const QString &softId, const QString &softType, const QString &version);
    // The patch of `package`, for the folder its base archive installed.
    static ArchiveExpectation forPatch(const ArchiveExpectation &package, const QString &baseFolder,
                                       const QString &patchVersion);

    bool isNone() const { return mKind == Kind::None; }
    bool isPatch() const { return !mBaseFolder.isEmpty(); }

    // Checks the open archive. `folder` gets the package folder it installs
    // (below the card root, no trailing slash), `reason` why it does not.
    Verdict check(ArchiveExtractor &archive, const Card &card, QString *folder, QString *reason) const;

    // A version file is a line of text.
    static constexpr qint64 kVersionFileLimit = 4096;

private:
    Verdict checkPackage(ArchiveExtractor &archive, const Card &card, QString *folder, QString *reason) const;
    Verdict checkPatch(ArchiveExtractor &archive, QString *reason) const;
    Verdict checkVersion(ArchiveExtractor &archive, const QString &folder, QString *reason) const;
};
