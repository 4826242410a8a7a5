#pragma once

#include "FXWidget.h"

class QLabel;
class QPushButton;

// The strip across the top of the main window: icon, "Ostrel" + version,
// minimise and close. Mouse events pass through to the window, which drags.
class TitleBar : public FXWidget
{
    Q_OBJECT
public:
    explicit TitleBar(QWidget *parent = nullptr);

    // "V1.23.456" from version.txt, or "" when the value does not look like one.
    static QString versionText();
    QString title() const;

signals:
    void SignalBtnClicked(QString id, int idx = 0);

public slots:
    void OnBtnMINChecked(bool checked);
    void OnBtnExitChecked(bool checked);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *mTitle = nullptr;
    QPushButton *mMin = nullptr;
    QPushButton *mClose = nullptr;
};
