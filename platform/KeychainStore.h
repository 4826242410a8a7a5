#pragma once

#include "SecretStore.h"

// The secret service of a Linux desktop (GNOME Keyring, KWallet and the
// like) through QtKeychain. Secrets are filed under the program's name.
class KeychainStore : public SecretStore
{
public:
    // Longest wait for the service, including a prompt to unlock it.
    static constexpr int Timeout = 60000;

    bool isAvailable() override;
    bool write(const QString &key, const QString &secret) override;
    bool read(const QString &key, QString *secret) override;
    bool remove(const QString &key) override;
};
