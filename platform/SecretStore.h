#pragma once

#include <QString>

// The desktop's keeper of secrets (a secret service on the session bus),
// for the remembered sign-in. Where there is none, isAvailable() is false
// and the caller keeps its secret as it did before.
class SecretStore
{
public:
    virtual ~SecretStore();
    // A secret service is running on this desktop now.
    virtual bool isAvailable() = 0;
    // Each blocks until the service has answered (it may ask the user to
    // unlock it first); false when it refused or did not answer.
    virtual bool write(const QString &key, const QString &secret) = 0;
    virtual bool read(const QString &key, QString *secret) = 0;
    virtual bool remove(const QString &key) = 0;
};
