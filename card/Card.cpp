#include "Card.h"

Card::Card(const QString &root, const QString &serialNumber)
    : mSerialNumber(serialNumber)
{
    QString r = root;
    if (!r.isEmpty() && !r.endsWith(QLatin1Char('/')))
        r += QLatin1Char('/');
    // "/" is never a card: nothing on the card may reach the whole system.
    if (r != QLatin1String("/"))
        mRoot = r;
}

QString Card::vehiclesPath() const
{
    return isNull() ? QString() : mRoot + QStringLiteral("Vehicles/");
}

QString Card::vehiclePath(const QString &area, const QString &link) const
{
    if (isNull() || !isPlainName(area) || !isPlainName(link))
        return QString();
    return vehiclesPath() + area + QLatin1Char('/') + link + QLatin1Char('/');
}

bool Card::contains(const QString &path) const
{
    return !isNull() && (path.startsWith(mRoot) || path == mRoot.left(mRoot.size() - 1));
}

QString Card::relativePath(const QString &path) const
{
    return !isNull() && path.startsWith(mRoot) ? path.mid(mRoot.size()) : path;
}

Card::Package Card::packageOf(const QString &dirPath) const
{
    const QString below = relativePath(dirPath);
    if (below.contains(QLatin1String("home"), Qt::CaseInsensitive))
        return Package::Home;
    if (below.contains(QLatin1String("public"), Qt::CaseInsensitive))
        return Package::Public;
    return Package::Vehicle;
}

bool Card::isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}
