#pragma once

#include <QHash>
#include <QString>

// Which software package another one belongs to, from the shipped database
// "db/vehicle_relation.db". Read once at construction; a missing or broken
// file leaves the map empty.
class VehicleRelation
{
public:
    // The shipped database of the install folder.
    VehicleRelation();
    explicit VehicleRelation(const QString &databaseFile);

    // The parent of `vehicleId`, or an empty string.
    QString GetParent(const QString &vehicleId) const;
    int size() const { return mParents.size(); }

    static QString defaultFile();

private:
    void load(const QString &databaseFile);

    QHash<QString, QString> mParents;
};
