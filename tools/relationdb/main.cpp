// Builds the vehicle relation database the plug-in ships with, from its CSV
// source: ostrel-relationdb SOURCE.csv OUTPUT.db
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

#include <cstdio>

namespace {
int fail(const QString &message)
{
    std::fprintf(stderr, "ostrel-relationdb: %s\n", qPrintable(message));
    return 1;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: ostrel-relationdb SOURCE.csv OUTPUT.db"));
    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read ") + args.at(1));
    const QString output = args.at(2);
    QFile::remove(output);

    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("out"));
        db.setDatabaseName(output);
        if (!db.open())
            return fail(db.lastError().text());
        QSqlQuery query(db);
        db.transaction();
        if (!query.exec(QStringLiteral("CREATE TABLE vehicle_relation (_id INTEGER PRIMARY KEY, "
                                       "vehicle_id TEXT NOT NULL, parent TEXT NOT NULL);")))
            return fail(query.lastError().text());
        query.prepare(QStringLiteral("INSERT INTO vehicle_relation (_id, vehicle_id, parent) VALUES (?, ?, ?);"));
        QTextStream in(&source);
        int lineNumber = 0;
        while (!in.atEnd() && status == 0) {
            const QString line = in.readLine().trimmed();
            ++lineNumber;
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList fields = line.split(QLatin1Char(','));
            bool idOk = false;
            const qlonglong id = fields.value(0).trimmed().toLongLong(&idOk);
            if (fields.size() != 3 || !idOk) {
                status = fail(QStringLiteral("line %1: expected _id,vehicle_id,parent").arg(lineNumber));
                break;
            }
            query.addBindValue(id);
            query.addBindValue(fields.at(1).trimmed());
            query.addBindValue(fields.at(2).trimmed());
            if (!query.exec())
                status = fail(QStringLiteral("line %1: %2").arg(lineNumber).arg(query.lastError().text()));
        }
        if (status == 0)
            db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("out"));
    if (status != 0)
        QFile::remove(output);
    return status;
}
