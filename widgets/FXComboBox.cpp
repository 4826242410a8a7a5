#include "FXComboBox.h"

#include "FXComboBoxAccessible.h"

#include <QAccessible>

namespace {
QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("FXComboBox") && object && object->isWidgetType())
        return new FXComboBoxAccessible(static_cast<QWidget *>(object));
    return nullptr;
}
} // namespace

FXComboBox::FXComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // Asked for the class itself before Qt's factory is asked for QComboBox.
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed)
}
