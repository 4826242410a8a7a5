#include "HistoryWidget.h"

#include "FXTableView.h"
#include "PageContainer.h"
#include "RecordTable.h"
#include "SizeText.h"
#include "StatusColours.h"
#include "UpdateHistory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

HistoryWidget::HistoryWidget(const Card &card, QWidget *parent)
    : QWidget(parent)
    , mTable(this, {tr("Time"), tr("Name"), tr("From"), tr("To"), tr("Result"), tr("Size"), tr("Verified")},
             {170, 220, 100, 100, 110, 90})
{
    setObjectName(QStringLiteral("HistoryWidget"));
    QLabel *title = PageContainer::dressPage(this, tr("Update History"));
    mTable.view->setAccessibleName(title->text());
    auto *serial = new QLabel(tr("SD card %1").arg(card.serialNumber()), this);
    serial->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:16px;color:#666666;}"));
    auto *empty = new QLabel(tr("No updates of this SD card are recorded yet."), this);
    empty->setObjectName(QStringLiteral("empty"));
    empty->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#666666;}"));

    const QList<HistoryRecord> records = UpdateHistory().recordsOf(card.serialNumber());
    for (const HistoryRecord &r : records) {
        const bool done = r.result == HistoryRecord::Result::Done;
        const QColor colour = done                                        ? StatusColours::done()
                              : r.result == HistoryRecord::Result::Failed ? StatusColours::failed()
                                                                          : StatusColours::muted();
        mTable.append({QLocale().toString(r.time.toLocalTime(), QLocale::ShortFormat),
                       r.name.isEmpty() ? r.softId : r.name, r.from, r.to, resultText(r.result), SizeText::of(r.bytes),
                       r.verified ? tr("Yes") : tr("No")},
                      4, colour, r.reason);
    }
    empty->setVisible(records.isEmpty());

    QPushButton *back = PageContainer::makeButton(this, tr("Return"), "back", false);
    connect(back, &QPushButton::clicked, this, &HistoryWidget::closed);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(back);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 12);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(serial);
    layout->addWidget(empty);
    layout->addWidget(mTable.view, 1);
    layout->addLayout(bottom);
}

QString HistoryWidget::resultText(HistoryRecord::Result result)
{
    switch (result) {
    case HistoryRecord::Result::Done: return tr("Done");
    case HistoryRecord::Result::Failed: return tr("Failed");
    case HistoryRecord::Result::Stopped: break;
    }
    return tr("Stopped");
}
