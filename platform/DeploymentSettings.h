#pragma once

#include <QString>
#include <QUrl>

// Where this deployment finds its service. Read from "deployment.ini" in the
// install folder; the environment variables OSTREL_SERVICE_URL,
// OSTREL_WEB_URL and OSTREL_CA_BUNDLE win over the file. Read afresh on every
// call (cheap, and the demo/tests change the environment between runs).
class DeploymentSettings
{
public:
    // Base of the web service; its path ends in "KvaApi/".
    static QUrl serviceUrl();
    // Web host of the complaint form and the account pages; ends in '/'.
    static QUrl webUrl();
    // Password-retrieval and registration-agreement pages on the web host.
    static QUrl forgetPasswordUrl();
    static QUrl registrationAgreementUrl();
    // Extra CA bundle (PEM) to trust besides the system store; may be empty.
    static QString caBundle();

    static const char *const DefaultServiceUrl;
    static const char *const DefaultWebUrl;

private:
    static QString value(const char *envName, const char *iniKey, const char *fallback);
};
