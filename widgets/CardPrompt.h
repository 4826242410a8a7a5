#pragma once

#include <QWidget>

class QLabel;

// What a page shows in place of its table while no card is in: a picture
// of the card going into the computer and a line asking for it. Also what
// it shows when its table cannot be had for another reason: then without a
// picture, and perhaps with a button for what to do next.
class CardPrompt : public QWidget
{
    Q_OBJECT
public:
    CardPrompt(const QString &picture, const QString &text, QWidget *parent = nullptr);

    QString text() const;
    // Below the line, centred: the next step the mechanic can take.
    void addWidget(QWidget *widget);

private:
    QLabel *mText = nullptr;
    class QVBoxLayout *mLayout = nullptr;
};
