#pragma once

#include <QLabel>

// A one-line label that shortens its text in the middle when it does not
// fit, so both ends of a long mount point stay readable. text() keeps the
// whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // What is painted for the current width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
