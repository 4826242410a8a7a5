#include "StateCell.h"

#include "DownloadBatch.h"
#include "MyProgressBar.h"
#include "Pictures.h"
#include "StatusColours.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QTextDocument>

namespace {
QString textStyle(const QColor &color)
{
    return QStringLiteral("QLabel{background:transparent;font-family:Helvetica;font-size:14px;color:%1;}")
        .arg(color.name());
}
} // namespace

StateCell::StateCell(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("stateCell"));
    // Transparent, so the row's grid line below shows.
    setStyleSheet(QStringLiteral("#stateCell{background:transparent;}"));

    mBar = new MyProgressBar(this);
    mBar->setRange(0, 100);
    mBar->setFixedSize(104, 10);
    // The style's text would vanish in the bar's own colour: the figure
    // goes into the caption beside it.
    mBar->setTextVisible(false);
    mCaption = new QLabel(this);
    mCaption->setStyleSheet(textStyle(StatusColours::muted()));
    mIcon = new QLabel(this);
    mIcon->setFixedSize(18, 18);
    mIcon->setStyleSheet(QStringLiteral("background:transparent;"));
    mFinal = new QLabel(this);
    for (QLabel *label : {mCaption, mFinal})
        label->setTextFormat(Qt::PlainText);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(8);
    layout->addWidget(mBar);
    layout->addWidget(mCaption);
    layout->addWidget(mIcon);
    layout->addWidget(mFinal);
    layout->addStretch();
    display(DownloadBatch::Waiting, 0);
}

void StateCell::display(int state, int progress)
{
    const bool running = DownloadBatch::showsBar(state);
    const int before = mState;
    mState = state;
    mBar->setVisible(running);
    mCaption->setVisible(running);
    mIcon->setVisible(!running);
    mFinal->setVisible(!running);
    if (running) {
        mBar->setValue(progress);
    } else if (state != before) {
        const bool done = DownloadBatch::isDone(state);
        const bool failed = DownloadBatch::isFailed(state);
        // A declined update is neither: just its words.
        mIcon->setVisible(done || failed);
        mIcon->setPixmap(Pictures::load(done ? QStringLiteral(":/Dravik/Resources/done.png")
                                             : QStringLiteral(":/Dravik/Resources/failed.png")));
        mFinal->setText(DownloadBatch::stateText(state));
        mFinal->setStyleSheet(textStyle(done     ? StatusColours::done()
                                        : failed ? StatusColours::failed()
                                                 : StatusColours::muted()));
    }
    updateCaption();
}

void StateCell::setSpeed(const QString &text)
{
    if (text == mSpeed)
        return;
    mSpeed = text;
    updateCaption();
}

void StateCell::setReason(const QString &reason)
{
    if (reason == accessibleDescription())
        return;
    // The reason may quote the service: shown as the text it is.
    setToolTip(reason.isEmpty() ? QString() : Qt::convertFromPlainText(reason, Qt::WhiteSpaceNormal));
    setAccessibleDescription(reason);
}

QString StateCell::text() const
{
    return DownloadBatch::showsBar(mState) ? mCaption->text() : mFinal->text();
}

void StateCell::updateCaption()
{
    if (!DownloadBatch::showsBar(mState))
        return;
    const bool speed = mState == DownloadBatch::Downloading && !mSpeed.isEmpty();
    mCaption->setText(
        QStringLiteral("%1%  %2").arg(mBar->value()).arg(speed ? mSpeed : DownloadBatch::stateText(mState)));
}
