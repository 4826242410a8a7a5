#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

class MyTableModel;

// What a screen reader hears of a progress table's rows: each row's state
// as text in one of the model's cells. A new state is told at once; a new
// figure of the same state at most every `interval` ms, the last one when
// it is due, so that every step of a bar is not read out.
class RowAnnouncer : public QObject
{
    Q_OBJECT
public:
    RowAnnouncer(MyTableModel *model, int column, int interval, QObject *parent = nullptr);

    void reset(int rows);
    // `words` is the state, `figure` its progress (negative: none).
    void say(int row, const QString &words, int figure);

private:
    void flush();

    MyTableModel *mModel;
    int mColumn;
    int mInterval;
    QElapsedTimer mClock;
    QVector<qint64> mSaidAt; // per row, on mClock
    QVector<QString> mSaidWords;
    QVector<QString> mPending; // the text due next, empty when none
    QTimer mFlush;
};
