#include "PlainToolTip.h"

#include <QTextDocument>

QString PlainToolTip::of(const QString &text)
{
    // Only what would be taken for markup needs escaping.
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}
