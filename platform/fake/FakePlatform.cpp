#include "FakePlatform.h"

namespace {
class FakeMutex : public NamedMutex
{
public:
    FakeMutex(FakePlatform *p, const QString &name)
        : mPlatform(p), mName(name)
    {
        mExisted = p->heldMutexes.contains(name);
        if (!mExisted) {
            p->heldMutexes.insert(name);
            mOwned = true;
        }
    }
    ~FakeMutex() override { release(); }
    bool alreadyExisted() const override { return mExisted; }
    bool isOwned() const override { return mOwned; }
    bool wait() override
    {
        if (mOwned)
            return true;
        if (mPlatform->heldMutexes.contains(mName))
            return false;
        mPlatform->heldMutexes.insert(mName);
        mOwned = true;
        return true;
    }
    void release() override
    {
        if (mOwned)
            mPlatform->heldMutexes.remove(mName);
        mOwned = false;
    }

private:
    FakePlatform *mPlatform;
    QString mName;
    bool mExisted = false;
    bool mOwned = false;
};

class FakeAutostart : public Autostart
{
public:
    explicit FakeAutostart(FakePlatform *p) : mPlatform(p) {}
    bool setEnabled(bool enabled, const QString &executable, const QString &) override
    {
        ++mPlatform->autostartCalls;
        mPlatform->autostartEnabled = enabled;
        mPlatform->autostartExecutable = executable;
        return true;
    }
    bool isEnabled(const QString &) const override { return mPlatform->autostartEnabled; }

private:
    FakePlatform *mPlatform;
};

class FakeShortcut : public DesktopShortcut
{
public:
    explicit FakeShortcut(FakePlatform *p) : mPlatform(p) {}
    bool ensure(const QString &, const QString &) override
    {
        ++mPlatform->shortcutCalls;
        return true;
    }

private:
    FakePlatform *mPlatform;
};

class FakeCrash : public CrashHandler
{
public:
    explicit FakeCrash(FakePlatform *p) : mPlatform(p) {}
    bool install(const QString &) override
    {
        ++mPlatform->crashInstalls;
        return true;
    }

private:
    FakePlatform *mPlatform;
};
class FakeInhibition : public SleepInhibition
{
public:
    FakeInhibition(FakePlatform *p, const QString &reason) : mPlatform(p), mReason(reason)
    {
        ++p->sleepInhibits;
        p->sleepHeld.append(reason);
    }
    ~FakeInhibition() override { mPlatform->sleepHeld.removeOne(mReason); }
    QString service() const override { return QStringLiteral("fake"); }

private:
    FakePlatform *mPlatform;
    QString mReason;
};

class FakeNotifier : public DesktopNotifier
{
public:
    explicit FakeNotifier(FakePlatform *p) : mPlatform(p) {}
    void notify(const QString &title, const QString &text) override { mPlatform->notifications.append({title, text}); }

private:
    FakePlatform *mPlatform;
};
} // namespace

class FakePlatform::Impl
{
public:
    explicit Impl(FakePlatform *p) : autostart(p), shortcut(p), crash(p), notifier(p) {}
    FakeAutostart autostart;
    FakeShortcut shortcut;
    FakeCrash crash;
    FakeNotifier notifier;
};

FakePlatform::FakePlatform()
    : d(new Impl(this))
{
    Platform::setInstance(this);
}

FakePlatform::~FakePlatform()
{
    if (Platform::instance() == this)
        Platform::setInstance(nullptr);
    delete d;
}

std::unique_ptr<NamedMutex> FakePlatform::createNamedMutex(const QString &name)
{
    return std::make_unique<FakeMutex>(this, name);
}

Autostart *FakePlatform::autostart() { return &d->autostart; }
DesktopShortcut *FakePlatform::desktopShortcut() { return &d->shortcut; }
CrashHandler *FakePlatform::crashHandler() { return &d->crash; }

std::unique_ptr<SleepInhibition> FakePlatform::inhibitSleep(const QString &reason)
{
    return std::make_unique<FakeInhibition>(this, reason);
}

DesktopNotifier *FakePlatform::notifier() { return &d->notifier; }

bool FakePlatform::openWithDefaultApplication(const QString &path)
{
    openedFiles.append(path);
    return openResult;
}

bool FakeSecretStore::write(const QString &key, const QString &secret)
{
    if (!available)
        return false;
    secrets.insert(key, secret);
    return true;
}

bool FakeSecretStore::read(const QString &key, QString *secret)
{
    if (!available || !secrets.contains(key))
        return false;
    *secret = secrets.value(key);
    return true;
}

bool FakeSecretStore::remove(const QString &key)
{
    return available && secrets.remove(key) > 0;
}
