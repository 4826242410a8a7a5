#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

class QParallelAnimationGroup;
class QPropertyAnimation;

// Pages side by side, one visible at a time; switching slides the new
// page in from the side it was added on.
class FXViewPager : public QWidget
{
    Q_OBJECT
public:
    explicit FXViewPager(QWidget *parent = nullptr);

    // The first page added becomes the current one.
    void addPage(const QString &id, QWidget *page);
    // False, and nothing changes, for an unknown id.
    bool showPage(const QString &id);

    QString currentPageId() const;
    QWidget *currentPage() const;
    QWidget *page(const QString &id) const;
    bool isAnimating() const;
    void setAnimationDuration(int msec) { mDuration = msec; }

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int indexOf(const QString &id) const;
    void layoutPages();

    QList<QPair<QString, QWidget *>> mPages;
    int mCurrent = -1;
    int mNext = -1;
    int mDuration = 300;
    QPropertyAnimation *mCurrentAnimation = nullptr;
    QPropertyAnimation *mNextAnimation = nullptr;
    QParallelAnimationGroup *mGroup = nullptr;
};
