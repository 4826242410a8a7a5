#include "PlainToolTip.h"

#include <QTextDocument>

QString PlainToolTip::of(const QString &text)
{
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}
