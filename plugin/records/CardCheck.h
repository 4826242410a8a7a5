#pragma once

#include "Card.h"
#include "ManifestStore.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class QThread;

// Checks a card against what Ostrel installed on it: for every package
// the card's catalogue lists, the manifest of that version on that card
// (ManifestStore) says which files to read back, past the page cache
// (CardReadBack), and what they must be. Per package the verdict is
//  - intact: every recorded file reads back with its size and CRC-32;
//  - damaged: a recorded file kept its size and time but reads back with
//    other bytes, or not at all: the card itself changed it;
//  - changed outside Ostrel: a recorded file is gone or was written since
//    (another size or time), or the card holds another version than Ostrel
//    installed there;
//  - not recorded: Ostrel has no manifest of it for this card.
// Files the manifest does not name are not looked at.
//
// start() runs the check on a worker thread and reports its progress in
// bytes and its end on the thread that started it; stop() ends it at the
// next chunk. A card that goes away ends the check without verdicts.
class CardCheck : public QObject
{
    Q_OBJECT
public:
    enum class Verdict { Intact, Damaged, Changed, NotRecorded };
    enum class End {
        None, // not run yet, or running
        Checked,
        Stopped,
        CardGone
    };

    struct Finding
    {
        QString folder; // below the card root
        QString softId; // as recorded
        QString name;
        QString version;         // on the card
        QString recordedVersion; // what Ostrel installed there
        Verdict verdict = Verdict::NotRecorded;
        QStringList files; // the damaged or changed ones, below the card root
    };

    explicit CardCheck(QObject *parent = nullptr);
    ~CardCheck() override; // stops the check and waits for it

    void setStore(const ManifestStore &store) { mStore = store; }
    // What an earlier check found is forgotten.
    void start(const Card &card);
    void stop();
    bool isRunning() const { return mThread != nullptr; }
    End end() const { return mEnd; }
    QList<Finding> findings() const { return mFindings; }

    // The check itself, on the calling thread.
    static QList<Finding> run(const Card &card, const ManifestStore &store, const std::atomic<bool> *stop,
                              const std::function<void(qint64 done, qint64 total)> &progress, End *end);

signals:
    // At most once per percent.
    void progress(qint64 done, qint64 total);
    void finished();

private:
    void onEnded(const QList<Finding> &findings, End end);

    ManifestStore mStore;
    QThread *mThread = nullptr;
    std::atomic<bool> mStop{false};
    QList<Finding> mFindings;
    End mEnd = End::None;
};
