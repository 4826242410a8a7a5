#pragma once

#include "Card.h"
#include "HistoryRecord.h"
#include "RecordTable.h"

#include <QWidget>

// The update history of a card, opened from the software list: one row
// per finished install of the card's, newest first, with when it was, the
// package, from and to which version, how it ended (why, as a tooltip),
// how much it wrote and whether the card gave it back as written.
class HistoryWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryWidget(const Card &card, QWidget *parent = nullptr);

    static QString resultText(HistoryRecord::Result result);

signals:
    // "Return".
    void closed();

private:
    RecordTable mTable;
};
