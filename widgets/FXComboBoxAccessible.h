#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What a screen reader gets of an FXComboBox: a combo box named by its
// label, the chosen entry as its value, the list as its child, and the
// actions that open and close the list.
class FXComboBoxAccessible : public QAccessibleWidget
{
public:
    explicit FXComboBoxAccessible(QWidget *widget);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QComboBox *comboBox() const;
};
