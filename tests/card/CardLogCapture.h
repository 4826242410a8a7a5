#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QStringList>

// Collects the card engine's debug lines for the lifetime of the object
// (the category is switched on meanwhile). Thread-safe: workers log too.
class CardLogCapture
{
public:
    CardLogCapture()
    {
        sLines().clear();
        QLoggingCategory::setFilterRules(QStringLiteral("ostrel.card.debug=true"));
        mPrevious = qInstallMessageHandler(&CardLogCapture::handler);
    }
    ~CardLogCapture()
    {
        qInstallMessageHandler(mPrevious);
        QLoggingCategory::setFilterRules(QStringLiteral("ostrel.card.debug=false"));
    }

    QStringList lines() const
    {
        QMutexLocker lock(&sMutex());
        return sLines();
    }
    int count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &l : lines())
            n += l.startsWith(prefix) ? 1 : 0;
        return n;
    }

private:
    static QStringList &sLines()
    {
        static QStringList lines;
        return lines;
    }
    static QMutex &sMutex()
    {
        static QMutex m;
        return m;
    }
    static void handler(QtMsgType, const QMessageLogContext &ctx, const QString &msg)
    {
        if (ctx.category && qstrcmp(ctx.category, "ostrel.card") == 0) {
            QMutexLocker lock(&sMutex());
            sLines().append(msg);
        }
    }

    QtMessageHandler mPrevious = nullptr;
};
