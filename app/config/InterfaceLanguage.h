#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QObject;

// The language of Ostrel's own texts, chosen on the settings page and applied
// at start-up: the program and the plug-in each install their catalogue
// ("ostrel", "dravik") in it.
class InterfaceLanguage
{
public:
    static const char *const Chinese; // "zh", the default
    static const char *const English; // "en"

    // The plug-in installs its catalogue only; the program, whose process it
    // is, also Qt's own translation (standard dialogs and menus) and the
    // language's locale as the default (dates and numbers).
    enum class Scope { Catalogue, Program };

    // Installs "translations/<catalogue>_<language>.qm" of the install folder
    // and what `scope` adds. The translators belong to `owner`; a file that
    // is missing leaves its texts in English. Returns the files installed.
    static QStringList install(const QString &catalogue, const QString &language, QObject *owner,
                               Scope scope = Scope::Catalogue);

    // The catalogue file of `language`, in the install folder.
    static QString catalogueFile(const QString &catalogue, const QString &language);
    // Qt's own translation for `language` in the system's Qt; empty for English.
    static QString qtFile(const QString &language);
    // Chinese as written in China; English with the system's regional
    // conventions where there are English ones for its country.
    static QLocale locale(const QString &language);
};
