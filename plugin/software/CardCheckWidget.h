#pragma once

#include "Card.h"
#include "CardCheck.h"
#include "RecordTable.h"

#include <QList>
#include <QWidget>

class MyProgressBar;
class QLabel;
class QPushButton;

// The page of a card check, opened from the software list: the check's
// progress while it reads the card back (with a stop), then one row per
// package with its verdict and the files that made it, and a button that
// ticks the damaged packages on the list for a reinstall. The check itself
// is CardCheck's.
class CardCheckWidget : public QWidget
{
    Q_OBJECT
public:
    // Starts checking `card` at once.
    explicit CardCheckWidget(const Card &card, QWidget *parent = nullptr);

    CardCheck *check() const { return mCheck; }
    // The verdict as the page words it.
    static QString verdictText(CardCheck::Verdict verdict);

signals:
    // "Reinstall damaged": these packages are to be ticked on the list.
    void reinstallRequested(const QList<CardCheck::Finding> &damaged);
    // "Return".
    void closed();

private:
    void onProgress(qint64 done, qint64 total);
    void onFinished();
    QList<CardCheck::Finding> damaged() const;

    CardCheck *mCheck;
    MyProgressBar *mBar = nullptr;
    QLabel *mStatus = nullptr;
    RecordTable mTable;
    QPushButton *mStop = nullptr;
    QPushButton *mReinstall = nullptr;
};
