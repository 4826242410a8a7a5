#include "PageContainer.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>

PageContainer::PageContainer(QWidget *parent)
    : QStackedWidget(parent)
{
}

QRect PageContainer::visibleRect() const
{
    // Inside a scroll area (a window smaller than designed) the rest is
    // scrolled to, not cut off: the frame is then the area's content.
    const QWidget *top = window();
    for (const QWidget *w = this; w && !w->isWindow(); w = w->parentWidget()) {
        const QWidget *viewport = w->parentWidget();
        const auto *area = viewport ? qobject_cast<const QAbstractScrollArea *>(viewport->parentWidget()) : nullptr;
        if (area && area->viewport() == viewport) {
            top = w;
            break;
        }
    }
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

QPushButton *PageContainer::makeButton(QWidget *page, const QString &text, const char *name, bool filled)
{
    auto *button = new QPushButton(text, page);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(150, 40);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(filled ? QStringLiteral("QPushButton{background-color:#213B78;color:#FFFFFF;font-family:"
                                                  "Helvetica;font-size:18px;font-weight:bold;border:none;border-"
                                                  "radius:4px;}QPushButton:focus{border:3px solid #F0C36D;}"
                                                  "QPushButton:disabled{background-color:#A6B0C8;}")
                                 : QStringLiteral("QPushButton{background-color:#FFFFFF;color:#213B78;font-family:"
                                                  "Helvetica;font-size:18px;font-weight:bold;border:1px solid "
                                                  "#213B78;border-radius:4px;}QPushButton:disabled{color:#A6B0C8;"
                                                  "border-color:#A6B0C8;}"));
    return button;
}
