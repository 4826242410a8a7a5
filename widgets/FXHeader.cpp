#include "FXHeader.h"

#include "FXGlobalInfo.h"
#include "Pictures.h"
#include "WidgetsLog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

FXHeader::FXHeader(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{
    setStyleSheet(QStringLiteral("QHeaderView::section{background:#F5F5F5;color:#666666;}"));
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    setIndicatorPictures(info->imagePath(QStringLiteral("unselected.png")),
                         info->imagePath(QStringLiteral("selected.png")),
                         info->imagePath(QStringLiteral("partly_selected.png")));
}

void FXHeader::setIndicatorPictures(const QString &unchecked, const QString &checked, const QString &partly)
{
    mUncheckedPicture = Pictures::load(unchecked);
    mCheckedPicture = Pictures::load(checked);
    mPartlyPicture = Pictures::load(partly);
    updateSection(0);
}

void FXHeader::setChecked(bool checked)
{
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    if (mState == state)
        return;
    mState = state;
    updateSection(0);
    emit SignalCheckChange(checked);
}

void FXHeader::setCheckState(Qt::CheckState state)
{
    if (mState == state)
        return;
    mState = state;
    updateSection(0);
}

Qt::CheckState FXHeader::stateOf(int tickable, int tickableTicked, int ticked)
{
    if (tickable > 0 && tickableTicked == tickable)
        return Qt::Checked;
    return ticked > 0 ? Qt::PartiallyChecked : Qt::Unchecked;
}

void FXHeader::setCheckBoxText(const QString &text)
{
    mCheckText = text;
    updateSection(0);
}

QRect FXHeader::boxRectIn(const QRect &section) const
{
    return QRect(section.left() + BoxLeft, section.top() + (section.height() - BoxSize) / 2,
                 BoxSize, BoxSize);
}

QRect FXHeader::checkBoxRect() const
{
    const int position = sectionViewportPosition(0);
    const int extent = sectionSize(0);
    const QRect section = orientation() == Qt::Horizontal
                              ? QRect(position, 0, extent, height())
                              : QRect(0, position, width(), extent);
    return boxRectIn(section);
}

void FXHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != 0)
        return;

    const QRect box = boxRectIn(rect);
    const QPixmap &picture = mState == Qt::Checked            ? mCheckedPicture
                             : mState == Qt::PartiallyChecked ? mPartlyPicture
                                                              : mUncheckedPicture;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled())
        painter->setOpacity(0.5);
    if (!picture.isNull()) {
        painter->drawPixmap(box, picture);
    } else {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = box;
        option.state |= mState == Qt::Checked            ? QStyle::State_On
                        : mState == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                         : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, this);
    }
    painter->restore();

    if (!mCheckText.isEmpty()) {
        const QRect textRect(box.right() + 8, rect.top(), rect.right() - box.right() - 8,
                             rect.height());
        // Drawn as a header label so the section's style sheet colour applies.
        QStyleOptionHeader label;
        label.initFrom(this);
        label.rect = textRect;
        label.section = 0;
        label.orientation = orientation();
        label.text = mCheckText;
        label.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
    }
}

void FXHeader::mousePressEvent(QMouseEvent *event)
{
    qCDebug(lcWidgets) << "mousePressEvent";
    QHeaderView::mousePressEvent(event);
}

// Moves are kept from the header so its sections cannot be dragged or resized.
void FXHeader::mouseMoveEvent(QMouseEvent *event)
{
    qCDebug(lcWidgets) << "mouseMoveEvent";
    event->accept();
}

void FXHeader::mouseReleaseEvent(QMouseEvent *event)
{
    qCDebug(lcWidgets) << "mouseReleaseEvent";
    if (logicalIndexAt(event->pos()) == 0)
        setChecked(mState != Qt::Checked);
    QHeaderView::mouseReleaseEvent(event);
}
