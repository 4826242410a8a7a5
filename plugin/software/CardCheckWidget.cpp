#include "CardCheckWidget.h"

#include "FXTableView.h"
#include "MyProgressBar.h"
#include "PageContainer.h"
#include "RecordTable.h"
#include "StatusColours.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QColor verdictColour(CardCheck::Verdict verdict)
{
    switch (verdict) {
    case CardCheck::Verdict::Intact: return StatusColours::done();
    case CardCheck::Verdict::Damaged: return StatusColours::failed();
    case CardCheck::Verdict::Changed: return StatusColours::caution();
    case CardCheck::Verdict::NotRecorded: break;
    }
    return StatusColours::muted();
}
} // namespace

CardCheckWidget::CardCheckWidget(const Card &card, QWidget *parent)
    : QWidget(parent)
    , mCheck(new CardCheck(this))
    , mTable(this, {tr("Name"), tr("Version"), tr("Result"), tr("Details")}, {260, 130, 200})
{
    setObjectName(QStringLiteral("CardCheckWidget"));
    QLabel *title = PageContainer::dressPage(this, tr("Check Card"));
    mTable.view->setAccessibleName(title->text());
    auto *serial = new QLabel(tr("SD card %1").arg(card.serialNumber()), this);
    serial->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:16px;color:#666666;}"));

    mBar = new MyProgressBar(this);
    mBar->setRange(0, 100);
    mBar->setFixedHeight(10);
    mBar->setTextVisible(false);
    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("status"));
    mStatus->setWordWrap(true);
    mStatus->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#333333;}"));

    mStop = PageContainer::makeButton(this, tr("Stop"), "stop", false);
    connect(mStop, &QPushButton::clicked, mCheck, &CardCheck::stop);
    mReinstall = PageContainer::makeButton(this, tr("Reinstall Damaged"), "reinstall", true);
    mReinstall->setFixedWidth(230);
    mReinstall->setEnabled(false);
    connect(mReinstall, &QPushButton::clicked, this, [this] { emit reinstallRequested(damaged()); });
    QPushButton *back = PageContainer::makeButton(this, tr("Return"), "back", false);
    connect(back, &QPushButton::clicked, this, [this] {
        mCheck->stop();
        emit closed();
    });

    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(20);
    bottom->addStretch();
    bottom->addWidget(mStop);
    bottom->addWidget(back);
    bottom->addWidget(mReinstall);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 12);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(serial);
    layout->addWidget(mBar);
    layout->addWidget(mStatus);
    layout->addWidget(mTable.view, 1);
    layout->addLayout(bottom);

    connect(mCheck, &CardCheck::progress, this, &CardCheckWidget::onProgress);
    connect(mCheck, &CardCheck::finished, this, &CardCheckWidget::onFinished);
    mStatus->setText(tr("Reading back every file Ostrel installed on the SD card..."));
    mCheck->start(card);
}

QString CardCheckWidget::verdictText(CardCheck::Verdict verdict)
{
    switch (verdict) {
    case CardCheck::Verdict::Intact: return tr("Intact");
    case CardCheck::Verdict::Damaged: return tr("Damaged");
    case CardCheck::Verdict::Changed: return tr("Changed outside Ostrel");
    case CardCheck::Verdict::NotRecorded: break;
    }
    return tr("Not recorded");
}

void CardCheckWidget::onProgress(qint64 done, qint64 total)
{
    mBar->setValue(total > 0 ? int(done * 100 / total) : 0);
    mStatus->setText(tr("Reading back every file Ostrel installed on the SD card... %1%").arg(mBar->value()));
}

void CardCheckWidget::onFinished()
{
    mStop->hide();
    mBar->setValue(100);
    switch (mCheck->end()) {
    case CardCheck::End::Stopped: mStatus->setText(tr("The check was stopped.")); return;
    case CardCheck::End::CardGone: mStatus->setText(tr("The SD card was removed during the check.")); return;
    default: break;
    }
    // What needs the mechanic first: damaged, changed, intact, not recorded.
    QList<CardCheck::Finding> findings = mCheck->findings();
    std::stable_sort(findings.begin(), findings.end(), [](const CardCheck::Finding &a, const CardCheck::Finding &b) {
        const auto rank = [](CardCheck::Verdict v) {
            return v == CardCheck::Verdict::Damaged   ? 0
                   : v == CardCheck::Verdict::Changed ? 1
                   : v == CardCheck::Verdict::Intact  ? 2
                                                      : 3;
        };
        return rank(a.verdict) != rank(b.verdict) ? rank(a.verdict) < rank(b.verdict)
                                                  : a.name.localeAwareCompare(b.name) < 0;
    });
    int counts[4] = {0, 0, 0, 0};
    for (const CardCheck::Finding &finding : qAsConst(findings)) {
        ++counts[int(finding.verdict)];
        QString details = finding.files.join(QStringLiteral(", "));
        if (finding.files.isEmpty() && finding.verdict == CardCheck::Verdict::Changed)
            details = tr("Ostrel installed %1 here.").arg(finding.recordedVersion);
        const QString verdict = verdictText(finding.verdict);
        mTable.append({finding.name, finding.version, verdict, details}, 2, verdictColour(finding.verdict),
                      details.isEmpty() ? verdict : verdict + QStringLiteral(": ") + details);
    }
    mStatus->setText(tr("%1 intact, %2 damaged, %3 changed outside Ostrel, %4 not recorded.")
                         .arg(counts[int(CardCheck::Verdict::Intact)])
                         .arg(counts[int(CardCheck::Verdict::Damaged)])
                         .arg(counts[int(CardCheck::Verdict::Changed)])
                         .arg(counts[int(CardCheck::Verdict::NotRecorded)]));
    mReinstall->setEnabled(counts[int(CardCheck::Verdict::Damaged)] > 0);
}

QList<CardCheck::Finding> CardCheckWidget::damaged() const
{
    QList<CardCheck::Finding> list;
    for (const CardCheck::Finding &finding : mCheck->findings()) {
        if (finding.verdict == CardCheck::Verdict::Damaged)
            list << finding;
    }
    return list;
}
