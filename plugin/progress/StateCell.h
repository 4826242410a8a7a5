#pragma once

#include <QString>
#include <QWidget>

class MyProgressBar;
class QLabel;

// The "State" cell of a download row. While the row runs: its progress bar
// and a caption with the bar's figure and the state's text or, while it
// downloads, its speed. Once it has ended: the final text with the done or
// failed picture, in green or red.
class StateCell : public QWidget
{
    Q_OBJECT
public:
    explicit StateCell(QWidget *parent = nullptr);

    // State number and bar figure, as the batch keeps them.
    void display(int state, int progress);
    // "1.6MB/s" in place of "Download..." while the row downloads; empty
    // goes back to the state's text.
    void setSpeed(const QString &text);
    // Why the row failed, as its tooltip and accessible description; empty
    // clears them.
    void setReason(const QString &reason);

    int state() const { return mState; }
    MyProgressBar *bar() const { return mBar; }
    // What the cell says beside the bar, or as the final text.
    QString text() const;

private:
    void updateCaption();

    int mState = 0;
    QString mSpeed;
    MyProgressBar *mBar = nullptr;
    QLabel *mCaption = nullptr;
    QLabel *mIcon = nullptr;
    QLabel *mFinal = nullptr;
};
