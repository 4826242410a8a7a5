#pragma once

#include "InstalledFile.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

// What one install put on a card: the package and version, the folder it
// went into and every file it wrote (path below the card root, size, CRC-32
// and modification time as read back). Kept in the data folder, never on
// the card, so that the card can later be checked against it.
class InstallManifest
{
public:
    QString serial; // the card's
    QString softId;
    QString name;
    QString folder;  // below the card root, e.g. "Vehicles/EU/BMW"
    QString version; // what the package's version file says
    QDateTime installed;
    InstalledFiles files;

    bool isNull() const { return folder.isEmpty(); }
    // `newer` goes over these files: a file of the same path (letter case
    // aside, as on the card) is replaced, the others are added. So a
    // patch's manifest lists its package's files too.
    void overlay(const InstalledFiles &newer);

    QJsonObject toJson() const;
    // Null when `json` is not a manifest.
    static InstallManifest fromJson(const QJsonObject &json);
};
