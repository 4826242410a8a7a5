#pragma once

#include "InstallManifest.h"

#include <QList>
#include <QString>

// The install manifests of every card, in the data folder: one JSON file
// per package, "Manifests/<card serial>/<folder>@<version>.json" (names
// percent-encoded). A card keeps one manifest per package folder: the one
// of the version last installed there.
class ManifestStore
{
public:
    // `folder` empty: "Manifests" in the data folder.
    explicit ManifestStore(const QString &folder = QString());

    QString folder() const { return mFolder; }

    // Writes `manifest` and removes the manifests of other versions of its
    // folder on its card. False when it could not be written (nor is
    // anything removed then).
    bool save(const InstallManifest &manifest);
    // The manifest of `folder` on the card `serial` for `version` (however
    // written: "V1.01" is "V1.1"); null when there is none.
    InstallManifest find(const QString &serial, const QString &folder, const QString &version) const;
    // The same, whatever its version.
    InstallManifest any(const QString &serial, const QString &folder) const;

private:
    struct Stored
    {
        QString path;
        InstallManifest manifest;
    };
    QString cardFolder(const QString &serial) const;
    QList<Stored> load(const QString &serial, const QString &folder) const;

    QString mFolder;
};
