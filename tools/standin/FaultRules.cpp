#include "FaultRules.h"


bool FaultRules::parse(const QJsonObject &spec, Fault *fault, QString *error)
{
    static const QStringList known = {
        QStringLiteral("path"), QStringLiteral("method"), QStringLiteral("status"),
        QStringLiteral("malformed"), QStringLiteral("code"), QStringLiteral("message"),
        QStringLiteral("delay_ms"), QStringLiteral("stall_after"), QStringLiteral("drop_after"),
        QStringLiteral("ignore_range"), QStringLiteral("once"), QStringLiteral("times"),
        QStringLiteral("chunk_size"), QStringLiteral("chunk_delay_ms"), QStringLiteral("hang"),
        QStringLiteral("chunked"), QStringLiteral("refuse_range"), QStringLiteral("range_shift"),
        QStringLiteral("omit_content_range"), QStringLiteral("no_validators"), QStringLiteral("redirect"),
        QStringLiteral("close_delimited"),
        QStringLiteral("announce_length"),
    };
    // A misspelt key would otherwise silently turn into "no fault at all".
    const QStringList keys = spec.keys();
    for (const QString &key : keys) {
        if (!known.contains(key)) {
            *error = QStringLiteral("unknown fault key: ") + key;
            return false;
        }
    }
    Fault f;
    f.spec = spec;
    f.path = spec.value(QStringLiteral("path")).toString();
    f.method = spec.value(QStringLiteral("method")).toString().toUpper();
    f.status = spec.value(QStringLiteral("status")).toInt();
    f.malformed = spec.value(QStringLiteral("malformed")).toBool();
    f.hasCode = spec.contains(QStringLiteral("code"));
    f.code = spec.value(QStringLiteral("code")).toInt();
    f.message = spec.value(QStringLiteral("message")).toString();
    f.delayMs = spec.value(QStringLiteral("delay_ms")).toInt();
    f.hang = spec.value(QStringLiteral("hang")).toBool();
    f.stallAfter = qint64(spec.value(QStringLiteral("stall_after")).toDouble(-1));
    f.dropAfter = qint64(spec.value(QStringLiteral("drop_after")).toDouble(-1));
    f.ignoreRange = spec.value(QStringLiteral("ignore_range")).toBool();
    f.chunked = spec.value(QStringLiteral("chunked")).toBool();
    f.closeDelimited = spec.value(QStringLiteral("close_delimited")).toBool();
    f.announceLength = qint64(spec.value(QStringLiteral("announce_length")).toDouble(-1));
    f.refuseRange = spec.value(QStringLiteral("refuse_range")).toBool();
    f.rangeShift = qint64(spec.value(QStringLiteral("range_shift")).toDouble());
    f.omitContentRange = spec.value(QStringLiteral("omit_content_range")).toBool();
    f.noValidators = spec.value(QStringLiteral("no_validators")).toBool();
    f.redirect = spec.value(QStringLiteral("redirect")).toString();
    f.chunkSize = spec.value(QStringLiteral("chunk_size")).toInt();
    f.chunkDelayMs = spec.value(QStringLiteral("chunk_delay_ms")).toInt();
    if (spec.value(QStringLiteral("once")).toBool())
        f.remaining = 1;
    if (spec.contains(QStringLiteral("times")))
        f.remaining = spec.value(QStringLiteral("times")).toInt();
    if (f.status != 0 && (f.status < 100 || f.status > 599)) {
        *error = QStringLiteral("status out of range");
        return false;
    }
    if (!f.redirect.isEmpty() && f.status != 0 && (f.status < 300 || f.status > 399)) {
        *error = QStringLiteral("a redirect needs a 3xx status");
        return false;
    }
    if (f.delayMs < 0 || f.chunkSize < 0 || f.chunkDelayMs < 0 || f.remaining == 0) {
        *error = QStringLiteral("negative or zero count");
        return false;
    }
    *fault = f;
    return true;
}

bool FaultRules::add(const QJsonObject &spec, QString *error)
{
    Fault f;
    if (!parse(spec, &f, error))
        return false;
    std::lock_guard<std::mutex> lock(mMutex);
    mFaults.append(f);
    return true;
}

void FaultRules::clear()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mFaults.clear();
}

bool FaultRules::take(const QString &method, const QString &path, Fault *fault)
{
    std::lock_guard<std::mutex> lock(mMutex);
    for (int i = mFaults.size() - 1; i >= 0; --i) {
        Fault &f = mFaults[i];
        if (!f.method.isEmpty() && f.method != method)
            continue;
        if (f.path.endsWith(QLatin1Char('*'))) {
            if (!path.startsWith(f.path.chopped(1)))
                continue;
        } else if (!f.path.isEmpty() && f.path != path) {
            continue;
        }
        *fault = f;
        if (f.remaining > 0 && --f.remaining == 0)
            mFaults.removeAt(i);
        return true;
    }
    return false;
}

QJsonArray FaultRules::list() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    QJsonArray out;
    for (const Fault &f : mFaults)
        out.append(f.spec);
    return out;
}
