#pragma once

#include <QString>

// Where the program reads what it ships and writes what it keeps.
//  - install folder: the folder of the executable (plugins/, translations/,
//    version.txt, db/, deployment.ini); only read.
//  - data folder: the install folder when it is writable, else the per-user
//    application data folder. Settings files, Downloads/ and Crash/ live here.
// The program and the plug-in both ask this class, so they open the same files.
class AppPaths
{
public:
    static QString installDir();
    static QString dataDir();

    // `name` may start with '/' ("/Preference.ini") or "./"; either way it is
    // taken relative to the folder.
    static QString installFile(const QString &name);
    static QString dataFile(const QString &name);

    // Creates the data folder if needed (owner-only) and makes it the
    // current directory.
    static bool enterDataDir();

    // Tests point both folders at temporary ones; empty strings restore the
    // normal lookup.
    static void setOverride(const QString &installDir, const QString &dataDir);

    // The data folder for an install folder: itself when writable and not an
    // installed copy (deployment.ini [Paths] PerUserData=true), else per user.
    static QString chooseDataDir(const QString &installDir);

    // dir + "/" + name, with name's leading "/" or "./" dropped.
    static QString join(const QString &dir, const QString &name);
};
