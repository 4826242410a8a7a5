#include "CardPrompt.h"

#include "Pictures.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

CardPrompt::CardPrompt(const QString &picture, const QString &text, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("cardPrompt"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("CardPrompt{background-color:#FFFFFF;border:1px dashed #C9D1E3;border-radius:6px;}"));

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("cardPromptPicture"));
    if (!picture.isEmpty())
        image->setPixmap(Pictures::load(picture));
    image->setVisible(!picture.isEmpty());
    image->setAlignment(Qt::AlignCenter);
    image->setStyleSheet(QStringLiteral("background:transparent;border:none;"));

    mText = new QLabel(text, this);
    mText->setObjectName(QStringLiteral("cardPromptText"));
    mText->setAlignment(Qt::AlignCenter);
    mText->setWordWrap(true);
    mText->setStyleSheet(QStringLiteral(
        "QLabel{background:transparent;border:none;font-family:Helvetica;font-size:20px;color:#333333;}"));
    // Read out as the page's state, not as a decoration.
    setAccessibleName(text);

    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(20, 20, 20, 20);
    mLayout->setSpacing(18);
    mLayout->addStretch(2);
    mLayout->addWidget(image);
    mLayout->addWidget(mText);
    mLayout->addStretch(3);
}

void CardPrompt::addWidget(QWidget *widget)
{
    mLayout->insertWidget(mLayout->count() - 1, widget, 0, Qt::AlignHCenter);
}

QString CardPrompt::text() const
{
    return mText->text();
}
