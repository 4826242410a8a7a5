#include "PageContainer.h"

#include <QLabel>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>

PageContainer::PageContainer(QWidget *parent)
    : QStackedWidget(parent)
{
}

QRect PageContainer::visibleRect() const
{
    const QWidget *top = window();
    if (top == this)
        return rect();
    const QRect inWindow(mapTo(top, QPoint(0, 0)), size());
    const QRect shown = inWindow.intersected(top->rect());
    return shown.isEmpty() ? rect() : shown.translated(-inWindow.topLeft());
}

void PageContainer::fitPages()
{
    const QRect shown = visibleRect();
    const QMargins cut(shown.left(), shown.top(), width() - 1 - shown.right(), height() - 1 - shown.bottom());
    if (cut != contentsMargins())
        setContentsMargins(cut);
}

void PageContainer::showEvent(QShowEvent *event)
{
    QStackedWidget::showEvent(event);
    fitPages();
}

void PageContainer::resizeEvent(QResizeEvent *event)
{
    QStackedWidget::resizeEvent(event);
    fitPages();
}

void PageContainer::moveEvent(QMoveEvent *event)
{
    QStackedWidget::moveEvent(event);
    fitPages();
}

QLabel *PageContainer::dressPage(QWidget *page, const QString &title)
{
    page->setStyleSheet(QString::fromLatin1(page->metaObject()->className())
                        + QStringLiteral("{background-color:#FFFFFF;}"));
    page->setAttribute(Qt::WA_StyledBackground, true);
    auto *label = new QLabel(title, page);
    label->setObjectName(QStringLiteral("title"));
    label->setStyleSheet(
        QStringLiteral("QLabel{font-family:Helvetica;font-size:22px;font-weight:bold;color:#000000;}"));
    return label;
}
