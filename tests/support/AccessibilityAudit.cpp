#include "AccessibilityAudit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QBrush>
#include <QComboBox>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTextDocument>
#include <QWidget>

#include <cmath>

namespace {

double luminance(const QColor &c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.red()) + 0.7152 * channel(rgb.green()) + 0.0722 * channel(rgb.blue());
}

QString describe(const QObject *object)
{
    if (!object)
        return QStringLiteral("?");
    QString text = QString::fromLatin1(object->metaObject()->className());
    if (!object->objectName().isEmpty())
        text += QStringLiteral(" '%1'").arg(object->objectName());
    for (const QObject *p = object->parent(); p; p = p->parent()) {
        if (!p->objectName().isEmpty()) {
            text += QStringLiteral(" in '%1'").arg(p->objectName());
            break;
        }
    }
    return text;
}

bool isInteractive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::PageTab:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Table: return true;
    default: return false;
    }
}

// The picture of the window, to read backgrounds and drawn texts from.
class Picture
{
public:
    explicit Picture(QWidget *window)
        : mWindow(window)
        , mImage(window->grab().toImage().convertToFormat(QImage::Format_RGB32))
        , mRatio(mImage.devicePixelRatio())
    {
    }

    QRect inWindow(const QWidget *w, const QRect &local) const
    {
        return QRect(w->mapTo(mWindow, local.topLeft()), local.size());
    }

    // The colour most of the area shows: its background.
    QColor background(const QRect &area) const
    {
        QHash<QRgb, int> counts;
        const QRect px = pixels(area);
        for (int y = px.top(); y <= px.bottom(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(mImage.constScanLine(y));
            for (int x = px.left(); x <= px.right(); ++x)
                ++counts[line[x] | 0xFF000000u];
        }
        QRgb best = 0xFFFFFFFFu;
        int most = -1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.value() > most) {
                most = it.value();
                best = it.key();
            }
        }
        return QColor(best);
    }

    // The colour of the area that stands out most from `against`: for a
    // drawn text, its colour (or, edges being blended, a little less).
    QColor mostDistinct(const QRect &area, const QColor &against) const
    {
        QColor best = against;
        double most = 1.0;
        const QRect px = pixels(area);
        for (int y = px.top(); y <= px.bottom(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(mImage.constScanLine(y));
            for (int x = px.left(); x <= px.right(); ++x) {
                const QColor c(line[x] | 0xFF000000u);
                const double ratio = AccessibilityAudit::contrast(c, against);
                if (ratio > most) {
                    most = ratio;
                    best = c;
                }
            }
        }
        return best;
    }

private:
    QRect pixels(const QRect &area) const
    {
        const QRect scaled(qRound(area.x() * mRatio), qRound(area.y() * mRatio), qRound(area.width() * mRatio),
                           qRound(area.height() * mRatio));
        return scaled.intersected(mImage.rect());
    }

    QWidget *mWindow;
    QImage mImage;
    qreal mRatio;
};

struct Run
{
    QColor colour;
    int pixelSize;
    bool bold;
};

bool isLarge(int pixelSize, bool bold)
{
    return pixelSize >= 24 || (bold && pixelSize >= 19);
}

// The colours a rich text label draws its words in: each styled run, and
// the label's own colour where words stand outside any.
QList<Run> runsOf(const QLabel *label)
{
    const QFontInfo info(label->font());
    const QColor own = label->palette().color(label->foregroundRole());
    const QString text = label->text();
    if (!(label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))))
        return {{own, info.pixelSize(), info.bold()}};
    QList<Run> runs;
    static const QRegularExpression styled(QStringLiteral("<(span|a)\\b[^>]*style=\"([^\"]*)\"[^>]*>(.*?)</\\1>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression color(QStringLiteral("(?:^|;)\\s*color\\s*:\\s*([^;]+)"));
    static const QRegularExpression size(QStringLiteral("font-size\\s*:\\s*([0-9.]+)\\s*(px|pt)"));
    QString rest = text;
    auto it = styled.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString style = m.captured(2);
        Run run{own, info.pixelSize(), info.bold()};
        const QRegularExpressionMatch c = color.match(style);
        if (c.hasMatch())
            run.colour = QColor(c.captured(1).trimmed());
        const QRegularExpressionMatch s = size.match(style);
        if (s.hasMatch()) {
            const double value = s.captured(1).toDouble();
            run.pixelSize = qRound(s.captured(2) == QLatin1String("pt") ? value * 96.0 / 72.0 : value);
        }
        if (style.contains(QLatin1String("bold")))
            run.bold = true;
        runs << run;
        rest.replace(m.captured(0), QString());
    }
    QTextDocument plain;
    plain.setHtml(rest);
    if (!plain.toPlainText().trimmed().isEmpty())
        runs << Run{own, info.pixelSize(), info.bold()};
    return runs;
}

class Walk
{
public:
    explicit Walk(QWidget *window)
        : mWindow(window)
        , mPicture(window)
    {
    }

    QStringList faults;

    void names(QAccessibleInterface *iface)
    {
        if (!iface || !iface->isValid() || iface->state().invisible)
            return;
        QObject *object = iface->object();
        const QAccessible::Role role = iface->role();
        const QString name = iface->text(QAccessible::Name).trimmed();
        if ((iface->state().focusable || isInteractive(role)) && name.isEmpty())
            faults << QStringLiteral("no name: %1 (role %2)").arg(describe(object)).arg(int(role));
        if (role == QAccessible::ComboBox && !name.isEmpty() && name == iface->text(QAccessible::Value))
            faults << QStringLiteral("named by its entry: %1 '%2'").arg(describe(object), name);
        if (role == QAccessible::CheckBox && qobject_cast<QPushButton *>(object))
            faults << QStringLiteral("a push button read as a check box: %1").arg(describe(object));
        // Web content has a tree of its own.
        if (object && object->inherits("QWebEngineView"))
            return;
        if (role == QAccessible::Table) {
            cells(iface);
            return;
        }
        for (int i = 0; i < iface->childCount(); ++i)
            names(iface->child(i));
    }

    void cells(QAccessibleInterface *table)
    {
        QAccessibleTableInterface *t = table->tableInterface();
        const auto *view = qobject_cast<const QAbstractItemView *>(table->object());
        if (!t || !view || !view->model())
            return;
        const int rows = qMin(t->rowCount(), 200);
        // The column headers come first among the table's children, in
        // column order; a heading a screen reader announces blank is lost
        // on every cell below it.
        int column = 0;
        for (int i = 0; i < table->childCount(); ++i) {
            QAccessibleInterface *child = table->child(i);
            if (!child || child->role() != QAccessible::ColumnHeader)
                continue;
            const bool heads = t->cellAt(0, column) && !t->cellAt(0, column)->text(QAccessible::Name).isEmpty();
            if (heads && child->text(QAccessible::Name).trimmed().isEmpty())
                faults << QStringLiteral("column header without a name: %1 column %2").arg(describe(view)).arg(column);
            ++column;
        }
        for (int column = 0; column < t->columnCount(); ++column) {
            QStringList empty;
            bool anyText = false;
            for (int row = 0; row < rows; ++row) {
                QAccessibleInterface *cell = t->cellAt(row, column);
                if (cell && !cell->text(QAccessible::Name).trimmed().isEmpty())
                    anyText = true;
                else
                    empty << QString::number(row);
            }
            const bool spacer =
                !anyText && view->model()->headerData(column, Qt::Horizontal).toString().trimmed().isEmpty();
            if (!empty.isEmpty() && !spacer)
                faults << QStringLiteral("cells without text: %1 column %2, rows %3")
                              .arg(describe(view))
                              .arg(column)
                              .arg(empty.join(QLatin1Char(',')));
        }
    }

    void check(const QObject *object, const QString &what, const QColor &text, const QColor &background, int pixelSize,
               bool bold, double tolerance = 1.0)
    {
        const double limit = isLarge(pixelSize, bold) ? 3.0 : 4.5;
        const double ratio = AccessibilityAudit::contrast(text, background);
        if (ratio < limit * tolerance)
            faults << QStringLiteral("contrast %1:1 below %2:1: %3 '%4' (%5 on %6)")
                          .arg(ratio, 0, 'f', 2)
                          .arg(limit, 0, 'f', 1)
                          .arg(describe(object), what.left(40), text.name(), background.name());
    }

    void contrast()
    {
        QList<QWidget *> widgets = mWindow->findChildren<QWidget *>();
        widgets.prepend(mWindow);
        for (QWidget *w : qAsConst(widgets)) {
            const QRect area = shownRect(w);
            if (w->window() != mWindow || !w->isVisible() || !w->isEnabled() || area.isEmpty() || insideWebView(w))
                continue;
            const QColor own = w->palette().color(w->foregroundRole());
            const QFontInfo font(w->font());
            if (auto *label = qobject_cast<QLabel *>(w)) {
                if (label->text().trimmed().isEmpty())
                    continue;
                const QColor background = mPicture.background(area);
                for (const Run &run : runsOf(label))
                    check(label, label->text(), run.colour, background, run.pixelSize, run.bold);
            } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
                if (!button->text().trimmed().isEmpty())
                    check(button, button->text(), own, mPicture.background(area), font.pixelSize(), font.bold());
            } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
                const bool placeholder = edit->text().isEmpty() && !edit->placeholderText().isEmpty();
                if (placeholder || !edit->text().isEmpty())
                    check(edit, placeholder ? edit->placeholderText() : edit->text(),
                          edit->palette().color(placeholder ? QPalette::PlaceholderText : QPalette::Text),
                          mPicture.background(area), font.pixelSize(), font.bold());
            } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
                if (!combo->currentText().isEmpty())
                    check(combo, combo->currentText(), own, mPicture.background(area), font.pixelSize(), font.bold());
            } else if (auto *header = qobject_cast<QHeaderView *>(w)) {
                headerTexts(header);
            } else if (auto *view = qobject_cast<QTableView *>(w)) {
                cellTexts(view);
            }
        }
    }

private:
    // The part of `w` its parents let show, in the window's pixels.
    QRect shownRect(const QWidget *w) const
    {
        QRect shown = mPicture.inWindow(w, w->rect());
        for (const QWidget *p = w->parentWidget(); p && p != mWindow; p = p->parentWidget())
            shown &= mPicture.inWindow(p, p->rect());
        return shown & mWindow->rect();
    }

    static bool insideWebView(const QWidget *w)
    {
        for (const QObject *p = w; p; p = p->parent()) {
            if (p->inherits("QWebEngineView"))
                return true;
        }
        return false;
    }

    // Sections draw their labels with the style's colours; read them from
    // the picture (the first may hold a check box picture, so it is left
    // to the others, which share its colours).
    void headerTexts(QHeaderView *header)
    {
        const QFontInfo font(header->font());
        for (int i = 0; i < header->count(); ++i) {
            const int logical = header->logicalIndex(i);
            const QString text =
                header->model() ? header->model()->headerData(logical, header->orientation()).toString() : QString();
            if (logical == 0 || text.trimmed().isEmpty() || header->isSectionHidden(logical))
                continue;
            const int at = header->sectionViewportPosition(logical);
            const int size = header->sectionSize(logical);
            const QRect local = header->orientation() == Qt::Horizontal ? QRect(at, 0, size, header->height())
                                                                        : QRect(0, at, header->width(), size);
            const QRect area = mPicture.inWindow(header->viewport(), local) & shownRect(header->viewport());
            if (area.isEmpty())
                continue;
            const QColor background = mPicture.background(area);
            // Blended glyph edges read a little lighter than the colour.
            check(header, text, mPicture.mostDistinct(area, background), background, font.pixelSize(), font.bold(),
                  0.9);
        }
    }

    void cellTexts(QTableView *view)
    {
        QAbstractItemModel *model = view->model();
        if (!model)
            return;
        const int first = view->rowAt(0);
        const int last = view->rowAt(view->viewport()->height() - 1);
        if (first < 0)
            return;
        const int end = last < 0 ? model->rowCount() - 1 : last;
        for (int row = first; row <= end; ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                const QString text = index.data(Qt::DisplayRole).toString();
                if (text.trimmed().isEmpty() || view->indexWidget(index) || view->isColumnHidden(column))
                    continue;
                const QVariant fg = index.data(Qt::ForegroundRole);
                QColor colour = view->palette().color(QPalette::Text);
                if (fg.userType() == QMetaType::QBrush)
                    colour = fg.value<QBrush>().color();
                else if (fg.userType() == QMetaType::QColor)
                    colour = fg.value<QColor>();
                const QVariant fontData = index.data(Qt::FontRole);
                const QFontInfo font(fontData.isValid() ? fontData.value<QFont>() : view->font());
                const QRect cell =
                    mPicture.inWindow(view->viewport(), view->visualRect(index)) & shownRect(view->viewport());
                if (cell.isEmpty())
                    continue;
                check(view, text, colour, mPicture.background(cell), font.pixelSize(), font.bold());
            }
        }
    }

    QWidget *mWindow;
    Picture mPicture;
};

} // namespace

double AccessibilityAudit::contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QStringList AccessibilityAudit::faults(QWidget *window)
{
    Walk walk(window);
    walk.names(QAccessible::queryAccessibleInterface(window));
    walk.contrast();
    walk.faults.removeDuplicates();
    return walk.faults;
}

QString AccessibilityAudit::report(QWidget *window)
{
    return faults(window).join(QLatin1Char('\n'));
}
