#include "HistoryRecord.h"

namespace {
const char *const kResults[] = {"done", "failed", "stopped"};
}

QJsonObject HistoryRecord::toJson() const
{
    return QJsonObject{{QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs)},
                       {QStringLiteral("serial"), serial},
                       {QStringLiteral("id"), double(id)},
                       {QStringLiteral("softId"), softId},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("from"), from},
                       {QStringLiteral("to"), to},
                       {QStringLiteral("result"), QLatin1String(kResults[int(result)])},
                       {QStringLiteral("reason"), reason},
                       {QStringLiteral("bytes"), double(bytes)},
                       {QStringLiteral("verified"), verified}};
}

HistoryRecord HistoryRecord::fromJson(const QJsonObject &json)
{
    HistoryRecord r;
    const QString result = json.value(QStringLiteral("result")).toString();
    int kind = -1;
    for (int i = 0; i < 3; ++i)
        kind = result == QLatin1String(kResults[i]) ? i : kind;
    const QDateTime time = QDateTime::fromString(json.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (kind < 0 || !time.isValid())
        return r;
    r.time = time;
    r.serial = json.value(QStringLiteral("serial")).toString();
    r.id = long(json.value(QStringLiteral("id")).toDouble());
    r.softId = json.value(QStringLiteral("softId")).toString();
    r.name = json.value(QStringLiteral("name")).toString();
    r.from = json.value(QStringLiteral("from")).toString();
    r.to = json.value(QStringLiteral("to")).toString();
    r.result = Result(kind);
    r.reason = json.value(QStringLiteral("reason")).toString();
    r.bytes = qint64(json.value(QStringLiteral("bytes")).toDouble());
    r.verified = json.value(QStringLiteral("verified")).toBool();
    return r;
}
