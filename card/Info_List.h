#pragma once

#include <QString>

// One language entry of a vehicle's "Names.txt".
class Info_List
{
public:
    Info_List() = default;
    Info_List(const Info_List &) = default;
    Info_List &operator=(const Info_List &) = default;
    virtual ~Info_List();

    QString mLanguage;
    QString mName;
    QString mFile; // bare value of "file", not a path
};
