#include "FXViewPager.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

FXViewPager::FXViewPager(QWidget *parent)
    : QWidget(parent)
{
    mCurrentAnimation = new QPropertyAnimation(this);
    mCurrentAnimation->setPropertyName("geometry");
    mNextAnimation = new QPropertyAnimation(this);
    mNextAnimation->setPropertyName("geometry");
    mGroup = new QParallelAnimationGroup(this);
    mGroup->addAnimation(mCurrentAnimation);
    mGroup->addAnimation(mNextAnimation);
    connect(mGroup, &QAbstractAnimation::finished, this, [this] {
        mNext = -1;
        layoutPages();
    });
}

int FXViewPager::indexOf(const QString &id) const
{
    for (int i = 0; i < mPages.size(); ++i) {
        if (mPages.at(i).first == id)
            return i;
    }
    return -1;
}

void FXViewPager::addPage(const QString &id, QWidget *page)
{
    page->setParent(this);
    mPages.append(qMakePair(id, page));
    if (mCurrent < 0)
        mCurrent = 0;
    layoutPages();
}

bool FXViewPager::showPage(const QString &id)
{
    const int index = indexOf(id);
    if (index < 0)
        return false;
    if (index == mCurrent)
        return true;

    // A switch during a slide starts from where that slide was heading.
    if (mGroup->state() != QAbstractAnimation::Stopped) {
        mGroup->stop();
        mNext = -1;
        layoutPages();
    }

    const int width = this->width();
    const int direction = index > mCurrent ? 1 : -1;
    QWidget *current = mPages.at(mCurrent).second;
    QWidget *next = mPages.at(index).second;
    const QRect home(QPoint(0, 0), size());

    mCurrentAnimation->setTargetObject(current);
    mCurrentAnimation->setStartValue(home);
    mCurrentAnimation->setEndValue(home.translated(-direction * width, 0));
    mNextAnimation->setTargetObject(next);
    mNextAnimation->setStartValue(home.translated(direction * width, 0));
    mNextAnimation->setEndValue(home);
    for (QPropertyAnimation *animation : {mCurrentAnimation, mNextAnimation}) {
        animation->setDuration(mDuration);
        animation->setEasingCurve(QEasingCurve::InOutSine);
    }
    next->setGeometry(home.translated(direction * width, 0));
    next->show();
    next->raise();
    mNext = index;
    mCurrent = index;
    mGroup->start();
    return true;
}

QString FXViewPager::currentPageId() const
{
    return mCurrent < 0 ? QString() : mPages.at(mCurrent).first;
}

QWidget *FXViewPager::currentPage() const
{
    return mCurrent < 0 ? nullptr : mPages.at(mCurrent).second;
}

QWidget *FXViewPager::page(const QString &id) const
{
    const int index = indexOf(id);
    return index < 0 ? nullptr : mPages.at(index).second;
}

bool FXViewPager::isAnimating() const
{
    return mGroup->state() == QAbstractAnimation::Running;
}

// Pages sit in a row relative to the current one, so the pages before it
// lie off to the left instead of underneath it. Only the current one is
// shown: Tab and a screen reader must not reach into a page slid away.
void FXViewPager::layoutPages()
{
    if (isAnimating())
        return;
    const int width = this->width();
    for (int i = 0; i < mPages.size(); ++i) {
        mPages.at(i).second->setGeometry((i - mCurrent) * width, 0, width, height());
        mPages.at(i).second->setVisible(i == mCurrent);
    }
}

void FXViewPager::moveEvent(QMoveEvent *event)
{
    layoutPages();
    QWidget::moveEvent(event);
}

void FXViewPager::resizeEvent(QResizeEvent *event)
{
    if (isAnimating()) {
        mGroup->stop();
        mNext = -1;
    }
    layoutPages();
    QWidget::resizeEvent(event);
}
