#include "InterfaceLanguage.h"

#include "AppPaths.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

const char *const InterfaceLanguage::Chinese = "zh";
const char *const InterfaceLanguage::English = "en";

namespace {
bool installFile(const QString &file, QObject *owner)
{
    auto *translator = new QTranslator(owner);
    if (!file.isEmpty() && translator->load(file) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}
} // namespace

QString InterfaceLanguage::catalogueFile(const QString &catalogue, const QString &language)
{
    return AppPaths::installFile(QStringLiteral("./translations/%1_%2.qm").arg(catalogue, language));
}

QString InterfaceLanguage::qtFile(const QString &language)
{
    if (language != QLatin1String(Chinese))
        return QString();
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
}

QLocale InterfaceLanguage::locale(const QString &language)
{
    if (language == QLatin1String(Chinese))
        return QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    return QLocale(QLocale::English, QLocale::system().country());
}

QStringList InterfaceLanguage::install(const QString &catalogue, const QString &language, QObject *owner, Scope scope)
{
    QStringList installed;
    QStringList files{catalogueFile(catalogue, language)};
    if (scope == Scope::Program) {
        files << qtFile(language);
        QLocale::setDefault(locale(language));
    }
    for (const QString &file : qAsConst(files)) {
        if (installFile(file, owner))
            installed << file;
    }
    return installed;
}
