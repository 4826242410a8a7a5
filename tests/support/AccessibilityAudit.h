#pragma once

#include <QColor>
#include <QStringList>

class QWidget;

// What a window offers a user who cannot see it well or at all, checked the
// way a screen reader and an eye meet it. faults() lists, one line each:
// - a focusable or interactive element (button, check box, field,
//   drop-down, link, table) without a name, a drop-down named by the entry
//   it shows, a push button that calls itself a check box;
// - a table column header without a name over cells with text;
// - a table cell without text (a spacer column, without a header and
//   without text in any row, excepted);
// - a visible text whose colour stands out from its background by less
//   than 4.5:1, or 3:1 for large text (24 px, or 19 px bold). Disabled
//   controls are exempt, as the rule has it.
// The window must be shown: backgrounds are read from its picture.
class AccessibilityAudit
{
public:
    static QStringList faults(QWidget *window);
    // The faults one a line, empty when there are none: QCOMPARE it with
    // QString() and a failure shows them.
    static QString report(QWidget *window);
    // The contrast ratio of two colours (1 to 21).
    static double contrast(const QColor &a, const QColor &b);
};
