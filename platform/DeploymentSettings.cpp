#include "DeploymentSettings.h"

#include "AppPaths.h"

#include <QSettings>

const char *const DeploymentSettings::DefaultServiceUrl = "https://uc.scanner-maker.example/KvaApi/";
const char *const DeploymentSettings::DefaultWebUrl = "https://www.scanner-maker.example/";

namespace {
QUrl withTrailingSlash(QUrl url)
{
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
        url.setPath(path);
    }
    return url;
}
} // namespace

QString DeploymentSettings::value(const char *envName, const char *iniKey, const char *fallback)
{
    const QByteArray env = qgetenv(envName);
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    QSettings ini(AppPaths::installFile(QStringLiteral("deployment.ini")), QSettings::IniFormat);
    return ini.value(QString::fromLatin1(iniKey), QString::fromLatin1(fallback)).toString();
}

QUrl DeploymentSettings::serviceUrl()
{
    return withTrailingSlash(QUrl(value("OSTREL_SERVICE_URL", "Service/Url", DefaultServiceUrl)));
}

QUrl DeploymentSettings::webUrl()
{
    return withTrailingSlash(QUrl(value("OSTREL_WEB_URL", "Web/Url", DefaultWebUrl)));
}

QUrl DeploymentSettings::forgetPasswordUrl()
{
    return webUrl().resolved(QUrl(QStringLiteral("forget.html")));
}

QUrl DeploymentSettings::registrationAgreementUrl()
{
    return webUrl().resolved(QUrl(QStringLiteral("registration-agreement.html")));
}

QString DeploymentSettings::caBundle()
{
    return value("OSTREL_CA_BUNDLE", "Service/CaBundle", "");
}
