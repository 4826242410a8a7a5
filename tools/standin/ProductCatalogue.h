#pragma once

#include "ApiResult.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <mutex>
#include <QString>
#include <QVector>

class FileStore;

// Products registered to users, their software lists per language, the
// vehicle and language lists of single-vehicle products and the download
// addresses of packages. The only state that changes at run time is the
// vehicle chosen for a single-vehicle product.
class ProductCatalogue
{
public:
    ProductCatalogue(const QJsonObject &fixture, const FileStore *files);

    void reset();

    ApiResult products(int userId) const;
    ApiResult software(int userId, const QString &serial, const QString &langCode,
                       const QString &defaultLangCode) const;
    ApiResult carsAndLanguages(int userId, const QString &langName, const QString &serial) const;
    ApiResult replaceEmptyCar(int userId, const QString &serial, const QString &carId,
                              const QString &languages);
    // fileBase: the address that "/files/" hangs from, ending in '/'.
    ApiResult downloadUrl(int userId, const QString &id, const QString &serial,
                          const QString &fileBase) const;
    ApiResult feedback(int userId, const QString &id, const QString &serial) const;

private:
    struct Product
    {
        QJsonObject spec;
        QString serial;
        QVector<int> owners;
    };

    // 1 and the product's index, or the code that refuses the serial number.
    int lookup(int userId, const QString &serial, int *index) const;
    QJsonObject packageJson(const QJsonObject &spec) const;
    QString fileFor(const Product &p, qint64 id) const;
    QJsonArray carList(const Product &p) const;

    const QJsonObject mFixture;
    const FileStore *mFiles;
    QVector<Product> mProducts;

    mutable std::mutex mMutex;
    QHash<QString, QString> mChosenCar; // serial number -> soft id of the vehicle
};
