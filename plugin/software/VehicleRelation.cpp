#include "VehicleRelation.h"

#include "AppPaths.h"
#include "SoftwareLog.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {
const char *const kConnection = "VehicleRelation";
} // namespace

VehicleRelation::VehicleRelation()
    : VehicleRelation(defaultFile())
{
}

VehicleRelation::VehicleRelation(const QString &databaseFile)
{
    load(databaseFile);
}

QString VehicleRelation::defaultFile()
{
    return AppPaths::installFile(QStringLiteral("/db/vehicle_relation.db"));
}

QString VehicleRelation::GetParent(const QString &vehicleId) const
{
    return mParents.value(vehicleId);
}

void VehicleRelation::load(const QString &databaseFile)
{
    const QString name = QLatin1String(kConnection);
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databaseFile);
        // Read-only: opening a missing file must not create an empty one in
        // the install folder.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!QFileInfo(databaseFile).isFile() || !db.open()) {
            qCDebug(lcSoftware) << "openDatabase: mSqlDatabase.open() = false!";
        } else {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT _id, vehicle_id, parent FROM vehicle_relation;"))) {
                while (query.next()) {
                    const QString vehicle = query.value(1).toString();
                    const QString parent = query.value(2).toString();
                    qCDebug(lcSoftware) << "vehicle_relation:" << query.value(0).toLongLong() << vehicle << parent;
                    mParents.insert(vehicle, parent);
                }
            } else {
                qCDebug(lcSoftware) << "vehicle_relation: query failed";
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}
