#include "MissingPluginPage.h"

#include <QLabel>
#include <QVBoxLayout>

MissingPluginPage::MissingPluginPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MissingPluginPage"));
    auto *title = new QLabel(tr("The download component is not installed."), this);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("QLabel{font-size:20px;color:#213B78;}"));
    auto *hint = new QLabel(tr("Card updates are not available. Reinstall Ostrel to restore them; "
                               "uninstalling vehicle software and every other page still work."),
                            this);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("QLabel{font-size:14px;color:#666666;}"));
    auto *layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(title);
    layout->addSpacing(12);
    layout->addWidget(hint);
    layout->addStretch(2);
}
