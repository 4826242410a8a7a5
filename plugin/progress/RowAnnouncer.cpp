#include "RowAnnouncer.h"

#include "MyTableModel.h"

RowAnnouncer::RowAnnouncer(MyTableModel *model, int column, int interval, QObject *parent)
    : QObject(parent)
    , mModel(model)
    , mColumn(column)
    , mInterval(interval)
{
    mClock.start();
    mFlush.setSingleShot(true);
    mFlush.setInterval(interval);
    connect(&mFlush, &QTimer::timeout, this, &RowAnnouncer::flush);
}

void RowAnnouncer::reset(int rows)
{
    mSaidAt.fill(0, rows);
    mSaidWords.fill(QString(), rows);
    mPending.fill(QString(), rows);
}

void RowAnnouncer::say(int row, const QString &words, int figure)
{
    if (row < 0 || row >= mSaidAt.size())
        return;
    const QString text = figure >= 0 ? words + QStringLiteral(", %1 %").arg(figure) : words;
    if (mModel->value(row, mColumn).toString() == text)
        return;
    const qint64 now = mClock.elapsed();
    if (words == mSaidWords.at(row) && now - mSaidAt.at(row) < mInterval) {
        mPending[row] = text;
        if (!mFlush.isActive())
            mFlush.start();
        return;
    }
    mSaidAt[row] = now;
    mSaidWords[row] = words;
    mPending[row].clear();
    mModel->setValue(row, mColumn, text);
}

void RowAnnouncer::flush()
{
    const qint64 now = mClock.elapsed();
    for (int row = 0; row < mPending.size(); ++row) {
        if (mPending.at(row).isEmpty())
            continue;
        // The timer may have been started for another row: each row waits
        // its own full interval.
        if (now - mSaidAt.at(row) < mInterval) {
            if (!mFlush.isActive())
                mFlush.start(int(mInterval - (now - mSaidAt.at(row))) + 1);
            continue;
        }
        const QString text = mPending.at(row);
        mPending[row].clear();
        mSaidAt[row] = now;
        mModel->setValue(row, mColumn, text);
    }
}
