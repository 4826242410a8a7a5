#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <Sornet/CarData.h>
#include <Sornet/LanguageData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT AllCarListAndLanguageListData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<CarData> carList READ getCarList WRITE setCarList)
    Q_PROPERTY(QList<LanguageData> languageList READ getLanguageList WRITE setLanguageList)

public:
    explicit AllCarListAndLanguageListData(QObject *parent = nullptr);
    AllCarListAndLanguageListData(const AllCarListAndLanguageListData &other);
    AllCarListAndLanguageListData &operator=(const AllCarListAndLanguageListData &other);
    bool operator==(const AllCarListAndLanguageListData &other) const;
    bool operator!=(const AllCarListAndLanguageListData &other) const { return !(*this == other); }

    QList<CarData> &getCarList() { return mCarList; }
    const QList<CarData> &getCarList() const { return mCarList; }
    void setCarList(const QList<CarData> &value) { mCarList = value; }
    QList<LanguageData> &getLanguageList() { return mLanguageList; }
    const QList<LanguageData> &getLanguageList() const { return mLanguageList; }
    void setLanguageList(const QList<LanguageData> &value) { mLanguageList = value; }

private:
    QList<CarData> mCarList;
    QList<LanguageData> mLanguageList;
};

Q_DECLARE_METATYPE(AllCarListAndLanguageListData)
