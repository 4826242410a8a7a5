#pragma once

#include "Package.h"

#include <QMetaType>
#include <QObject>
#include <QString>

// The one shape of every step of an upgrade (asking the service for the
// address, fetching the archive, installing it): started once, cancelled
// by name, reporting progress as an amount done of a total, and ending
// with one result that says whether it worked and, if not, what kind of
// failure it was and why, in words the mechanic can read.
//
//     address query  ->  transfer  ->  install
//
// A job belongs to one package and is used once. After cancel() it is
// silent: no progress, no finished.
class UpgradeJob : public QObject
{
    Q_OBJECT
public:
    enum class Failure {
        None,
        Service,  // the service refused (its code in `code`)
        Network,  // no answer from the service
        Download, // the archive could not be fetched
        Archive,  // the archive is damaged or not the package's
        Card,     // the card could not take it
        Space,    // not enough room on the card
        NoCard,   // no card to install onto
        Cancelled
    };
    Q_ENUM(Failure)

    struct Result
    {
        Failure failure = Failure::None;
        QString reason; // translated; empty on success
        int code = 0;   // the service's code, for Service

        bool ok() const { return failure == Failure::None; }
        static Result failed(Failure failure, const QString &reason, int code = 0) { return {failure, reason, code}; }
    };

    explicit UpgradeJob(const Package &package, QObject *parent = nullptr);

    const Package &package() const { return mPackage; }
    virtual void start() = 0;
    virtual void cancel() = 0;

signals:
    // The work itself has begun (an install waits for a free thread first).
    void started();
    void progress(qint64 done, qint64 total);
    void finished(const UpgradeJob::Result &result);

protected:
    Package mPackage;
};

Q_DECLARE_METATYPE(UpgradeJob::Result)
