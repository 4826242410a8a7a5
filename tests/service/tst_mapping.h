#pragma once

#include <Sornet/Sornet.h>

#include <QObject>
#include <QVariant>

class Courier : public QObject
{
    Q_OBJECT
signals:
    void software(SoftwareData data);
    void products(int status, QVariant response);
};

class TestMapping : public QObject
{
    Q_OBJECT

private slots:
    void genericEnvelope_data();
    void genericEnvelope();
    void nestedDataChild();
    void childLookupByObjectName();
    void arraysFillChildrenOfThatClass();
    void serializeMirrorsObjectTree();
    void md5_data();
    void md5();

    void softwareListTypeRules();
    void softwareListKeepsEarlierEntries();
    void listParsersRejectBrokenJson_data();
    void listParsersRejectBrokenJson();
    void listParsersIgnoreWrongShapes_data();
    void listParsersIgnoreWrongShapes();
    void productList();
    void carAndLanguageLists();
    void countryListAppends();

    void copiesCarryValuesNotIdentity();
    void responsesCrossThreadsByValue();
};
