#pragma once

#include <QWidget>

class QLabel;

// What a page shows in place of its table while no card is in: a picture
// of the card going into the computer and a line asking for it.
class CardPrompt : public QWidget
{
    Q_OBJECT
public:
    CardPrompt(const QString &picture, const QString &text, QWidget *parent = nullptr);

    QString text() const;

private:
    QLabel *mText = nullptr;
};
