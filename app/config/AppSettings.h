#pragma once

#include <QString>

// The one place that names the settings files and their keys. Every access
// opens the file afresh and every write is flushed before returning, so the
// program and the plug-in always see each other's last completed write.
class AppSettings
{
public:
    // Files (absolute paths).
    static QString setupFile();       // "setup.ini": languages, remember
    static QString preferenceFile();  // "/Preference.ini": signed-in user
    static QString operationFile();   // "/Operation.ini": busy flags
    static QString versionFile();     // "version.txt", shipped with the program
    static QString rememberFile();    // "user": the remembered sign-in

    // setup.ini
    static int language();            // index 0..15; absent reads 4
    static void setLanguage(int index);
    // The language of Ostrel's own texts: "en", or "zh" for anything else
    // (absent included), so files from before the choice keep Chinese.
    static QString interfaceLanguage();
    static void setInterfaceLanguage(const QString &code);
    static bool remember();
    static void setRemember(bool on);

    // Preference.ini
    static QString token();
    static int userId();
    static void setSignedInUser(const QString &token, int userId);
    static QString serialNumber();

    // Operation.ini
    static bool isDownloading();
    static void setDownloading(bool on);
    static bool isUninstalling();
    static void setUninstalling(bool on);
    // Start-up after a sign-in: uninstall flag first, then download flag, one write.
    static void resetBusyFlags();

    // version.txt ("Version" defaults to "V1.00.001" in the program).
    static QString version(const QString &fallback = QStringLiteral("V1.00.001"));
    static qint64 buildTimeStamp();
    static QString buildTime();

    // Key names, for code that must name them (messages, tests).
    static const char *const KeyLanguage;
    static const char *const KeyInterfaceLanguage;
    static const char *const KeyRemember;
    static const char *const KeyToken;
    static const char *const KeyUserId;
    static const char *const KeySerialNumber;
    static const char *const KeyIsDownloading;
    static const char *const KeyIsUninstalling;
    static const char *const KeyVersion;
    static const char *const KeyBuildTimeStamp;
    static const char *const KeyBuildTime;
};
