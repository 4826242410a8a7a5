#include "DesktopEntryWriter.h"

#include "DesktopIdentity.h"

QString DesktopEntryWriter::execValue(const QString &program)
{
    if (program.isEmpty())
        return QString();
    QString quoted;
    quoted.reserve(program.size() + 8);
    quoted += QLatin1Char('"');
    for (const QChar c : program) {
        if (c.category() == QChar::Other_Control)
            return QString();
        // Inside a quoted argument these four need a backslash.
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        // A lone '%' would start a field code.
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // The value level of the file escapes backslashes once more.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}

void DesktopEntryWriter::addIcon(QList<QPair<QString, QString>> &keys)
{
    QString icon = DesktopIdentity::iconFile();
    if (icon.isEmpty())
        return;
    for (const QChar c : qAsConst(icon)) {
        if (c.category() == QChar::Other_Control)
            return;
    }
    icon.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    keys.append({QStringLiteral("Icon"), icon});
}

QByteArray DesktopEntryWriter::render(const QList<QPair<QString, QString>> &keys)
{
    QString text = QStringLiteral("[Desktop Entry]\n");
    for (const auto &key : keys)
        text += key.first + QLatin1Char('=') + key.second + QLatin1Char('\n');
    return text.toUtf8();
}
