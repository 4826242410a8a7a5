#include "FXComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

FXComboBoxAccessible::FXComboBoxAccessible(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::ComboBox)
{
}

QComboBox *FXComboBoxAccessible::comboBox() const
{
    return qobject_cast<QComboBox *>(object());
}

QString FXComboBoxAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        // The accessible name, else the label it is the buddy of.
        const QString name = QAccessibleWidget::text(t);
        return name.isEmpty() ? comboBox()->currentText() : name;
    }
    case QAccessible::Value: return comboBox()->currentText();
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State FXComboBoxAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = comboBox()->view()->isVisible();
    s.collapsed = !s.expanded;
    return s;
}

int FXComboBoxAccessible::childCount() const
{
    return 1;
}

QAccessibleInterface *FXComboBoxAccessible::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(comboBox()->view()) : nullptr;
}

int FXComboBoxAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == comboBox()->view() ? 0 : -1;
}

QStringList FXComboBoxAccessible::actionNames() const
{
    return {showMenuAction(), pressAction()};
}

void FXComboBoxAccessible::doAction(const QString &actionName)
{
    if (actionName != showMenuAction() && actionName != pressAction())
        return;
    if (comboBox()->view()->isVisible())
        comboBox()->hidePopup();
    else
        comboBox()->showPopup();
}
