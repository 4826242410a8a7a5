#pragma once

#include "FXWidget.h"

#include <QList>

class FXRadioButton;

// The navigation bar down the left side: one exclusive entry per page.
class ButtonBar : public FXWidget
{
    Q_OBJECT
public:
    explicit ButtonBar(QWidget *parent = nullptr);

    // Checks the entry of `id` as if from code and emits SignalBtnClicked once.
    void selectById(const QString &id);
    QString checkedId() const;
    FXRadioButton *entry(const QString &id) const;

    // Stack positions of the entries, in the page stack's order.
    static int indexOf(const QString &id);

signals:
    void SignalBtnClicked(QString id, int idx = 0);

public slots:
    void OnDownloadChecked(bool checked);
    void OnComplaintChecked(bool checked);
    void OnUnistallChecked(bool checked);
    void OnSettingChecked(bool checked);
    void OnUserInfoChecked(bool checked);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    FXRadioButton *addEntry(const QString &id, const QString &caption, const QString &icon);
    void entryChecked(const QString &id, bool checked);

    QList<FXRadioButton *> mEntries;
    bool mSelectingFromCode = false;
};
