#pragma once

#include <QMetaType>
#include <QString>

// A mounted scanner card: its root (the mount point with a trailing slash)
// and its serial number. Made once where a card is found (the disk monitor,
// the plug-in's card search) and handed to everything that works on it, so
// no code has to guess a card root from a path.
class Card
{
public:
    // What a package folder on the card holds, by the card's naming rule.
    enum class Package { Vehicle, Home, Public };

    Card() = default;
    // `root` gets its trailing slash; "/" and an empty root give a null card.
    explicit Card(const QString &root, const QString &serialNumber = QString());

    bool isNull() const { return mRoot.isEmpty(); }
    QString root() const { return mRoot; }
    QString serialNumber() const { return mSerialNumber; }
    // root + "Vehicles/": where every package lives and the scan starts.
    QString vehiclesPath() const;
    // root + "Vehicles/" + area + "/" + link + "/"; empty when either is not
    // a plain folder name (it must never lead off the card) or without a root.
    QString vehiclePath(const QString &area, const QString &link) const;

    // True when `path` is the root or lies below it.
    bool contains(const QString &path) const;
    // The part of `path` below the root; the whole path when it does not
    // lie below it.
    QString relativePath(const QString &path) const;

    // The HOME software and the common text library are told by their folder
    // names ("home", "public", letters in any case) below the card root, so
    // a card mounted below /home/... is not taken for the HOME software.
    Package packageOf(const QString &dirPath) const;
    bool isHomeOrPublic(const QString &dirPath) const { return packageOf(dirPath) != Package::Vehicle; }

    // A name that can stand as one path component on the card (not empty,
    // not "." or "..", no slash or backslash).
    static bool isPlainName(const QString &name);

    bool operator==(const Card &other) const { return mRoot == other.mRoot && mSerialNumber == other.mSerialNumber; }
    bool operator!=(const Card &other) const { return !(*this == other); }

private:
    QString mRoot;
    QString mSerialNumber;
};

Q_DECLARE_METATYPE(Card)
