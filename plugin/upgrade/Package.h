#pragma once

#include "Card.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>

class SoftwareData;
class VehicleData;

// One package of an upgrade, made where the user's choice is read and
// carried unchanged from there to the card: which package (the service's
// id and soft id), which version, how big the service says it is, what it
// patches, the card it goes onto with the folder it replaces there, and,
// once the service has named it, where it is downloaded from. Nothing
// further down works any of this out again from a path or a file name.
class Package
{
public:
    // What the package is on the card, told from its soft id the way the
    // card's catalogue tells its folders.
    enum class Kind {
        Vehicle,
        Home,        // the scanner's own software
        TextLibrary, // the common text library, in the folder "Public"
        Program      // an installer of this PC program, never unpacked onto the card
    };

    long id = 0;
    QString softId;
    QString name;
    QString version;
    QString type;
    qint64 size = 0; // as the service announces it; 0 when unknown
    // Set on a patch: the package it goes over, in the same row.
    long baseId = 0;
    QString baseVersion;
    Card card;
    // The installed folder this package replaces, below the card's root
    // (empty when none), and the version found there.
    QString installedFolder;
    QString installedVersion;
    QUrl url; // empty until the service has named it
    // The SHA-256 (hex) the service announces for the file. Its answer
    // has no such field yet, so this stays empty and only the size vouches
    // for the file; once it sends one, fromRecord() fills it in and the
    // program's installer is checked against it.
    QByteArray sha256;

    bool isNull() const { return id == 0; }
    bool isPatch() const { return baseId != 0; }
    Kind kind() const;
    // The name of its folder on the card: the soft id, "Public" for the
    // common text library.
    QString folderName() const;

    // Who it is, as a download's record keeps it.
    QString identity() const;
    // Its temporary file in the download folder, named after the package,
    // its version and (by a short hash) its address: two packages, or two
    // addresses of one, never share a file. Needs the url.
    QString downloadPath() const;

    // The package of a service record for `card`, with the folder of the
    // card's catalogue it replaces.
    static Package fromRecord(const SoftwareData &record, const Card &card, const QList<VehicleData> &catalogue);
    // `patch` over `base`.
    static Package patchOf(const SoftwareData &patch, const Package &base);
};

// One row of an upgrade: a package, and the patch that goes over it.
struct UpgradeItem
{
    Package package;
    Package patch;   // null without one
    QString current; // what the list showed as installed

    bool hasPatch() const { return !patch.isNull(); }
    // What the row names: a chain by its patch.
    const Package &shown() const { return hasPatch() ? patch : package; }
    // The package and patch of a chosen record (its patch list holds at
    // most the one patch chosen).
    static UpgradeItem fromRecord(const SoftwareData &record, const Card &card, const QList<VehicleData> &catalogue);
};

Q_DECLARE_METATYPE(Package)
