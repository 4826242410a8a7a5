#include "MessageBoxDialog.h"

#include "FXGlobalInfo.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace {
const char *const ButtonStyle =
    "QPushButton{background-color:#213b78;\t\t\tfont-size:22px;font-weight: bold;"
    "font-family:Helvetica;color:rgb(255,225,255);\t\t\tborder-radius:4px;border-width:0px;"
    "border-style:outset;}";
}

QMessageBox::StandardButton MessageBoxDialog::showMessageBox(QWidget *parent, const QString &title,
                                                             const QString &text,
                                                             QMessageBox::StandardButtons buttons)
{
    QPointer<MessageBoxDialog> box = new MessageBoxDialog(parent);
    box->configure(title, text, buttons);
    // The parent may be destroyed while the box is open, taking the box
    // with it: that ends the box like backing out of it.
    int result = box->mSecondResult != QMessageBox::NoButton ? box->mSecondResult
                                                             : int(QMessageBox::Ok);
    connect(box, &QDialog::finished, box, [&result, box] { result = box->mResult; });
    box->exec();
    delete box;
    return static_cast<QMessageBox::StandardButton>(result);
}

MessageBoxDialog::MessageBoxDialog(QWidget *parent)
    : FXDialog(parent)
{
    mText = new QLabel(this);
    mText->setObjectName(QStringLiteral("text"));
    // The service's messages and package names: shown as they are written.
    mText->setTextFormat(Qt::PlainText);
    mText->setFont(FXGlobalInfo::instance()->font(18));
    mText->setStyleSheet(QStringLiteral("color: #333333;"));
    mText->setAlignment(Qt::AlignCenter);
    mText->setWordWrap(true);
    mText->setMinimumHeight(200);

    const QString style = QString::fromLatin1(ButtonStyle);
    mFirst = new QPushButton(this);
    mFirst->setObjectName(QStringLiteral("firstButton"));
    mSecond = new QPushButton(this);
    mSecond->setObjectName(QStringLiteral("secondButton"));
    for (QPushButton *button : {mFirst, mSecond}) {
        button->setStyleSheet(style);
        button->setEnabled(false);
        button->hide();
    }
}

void MessageBoxDialog::configure(const QString &title, const QString &text,
                                 QMessageBox::StandardButtons buttons)
{
    setStyleSheet(QStringLiteral("background:#FFFFFF"));
    setTitle(title);
    mText->setText(text);

    auto *content = new QVBoxLayout;
    content->setSpacing(0);
    content->setContentsMargins(10, 0, 10, 10);
    content->addWidget(mText);

    // Later button kinds take the slot over: OK plus Yes ends with Yes first.
    bool firstSet = false;
    bool secondSet = false;
    auto wire = [](QPushButton *button, const char *caption, void (MessageBoxDialog::*handler)(),
                   MessageBoxDialog *box) {
        button->disconnect(box);
        button->setText(QCoreApplication::translate("Ostrel", caption));
        connect(button, &QPushButton::clicked, box, handler);
    };
    if (buttons.testFlag(QMessageBox::Ok)) {
        wire(mFirst, QT_TRANSLATE_NOOP("Ostrel", "OK"), &MessageBoxDialog::onOk, this);
        firstSet = true;
    }
    if (buttons.testFlag(QMessageBox::Cancel)) {
        wire(mSecond, QT_TRANSLATE_NOOP("Ostrel", "Cancel"), &MessageBoxDialog::onCancel, this);
        secondSet = true;
        mSecondResult = QMessageBox::Cancel;
    }
    if (buttons.testFlag(QMessageBox::Yes)) {
        wire(mFirst, QT_TRANSLATE_NOOP("Ostrel", "Yes"), &MessageBoxDialog::onYes, this);
        firstSet = true;
    }
    if (buttons.testFlag(QMessageBox::No)) {
        wire(mSecond, QT_TRANSLATE_NOOP("Ostrel", "No"), &MessageBoxDialog::onNo, this);
        secondSet = true;
        mSecondResult = QMessageBox::No;
    }

    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->setContentsMargins(0, 0, 0, 0);
    if (firstSet && secondSet) {
        const QSize spacer = FXGlobalInfo::instance()->size(FXGlobalInfo::spacer30);
        const QSize spacerHeight = FXGlobalInfo::instance()->size(FXGlobalInfo::spacer1);
        mFirst->setFixedSize(215, 40);
        mSecond->setFixedSize(215, 40);
        row->addWidget(mFirst);
        row->addSpacerItem(new QSpacerItem(spacer.width(), spacerHeight.height(),
                                           QSizePolicy::Fixed, QSizePolicy::Fixed));
        row->addWidget(mSecond);
    } else if (firstSet || secondSet) {
        QPushButton *only = firstSet ? mFirst : mSecond;
        only->setFixedSize(480, 40);
        row->addWidget(only);
    }
    mFirst->setEnabled(firstSet);
    mFirst->setVisible(firstSet);
    mSecond->setEnabled(secondSet);
    mSecond->setVisible(secondSet);
    content->addLayout(row);
    setContentLayout(content);
}

void MessageBoxDialog::reject()
{
    if (mSecondResult != QMessageBox::NoButton)
        mResult = mSecondResult;
    FXDialog::reject();
}

void MessageBoxDialog::onOk()
{
    mResult = QMessageBox::Ok;
    accept();
}

void MessageBoxDialog::onYes()
{
    mResult = QMessageBox::Yes;
    accept();
}

void MessageBoxDialog::onNo()
{
    mResult = QMessageBox::No;
    reject();
}

void MessageBoxDialog::onCancel()
{
    mResult = QMessageBox::Cancel;
    reject();
}
