#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

// One finished install of the update history: when, onto which card, which
// package from which version to which, how it ended and why, how many
// bytes it wrote, and whether the card gave them back as written.
struct HistoryRecord
{
    enum class Result { Done, Failed, Stopped };

    QDateTime time;
    QString serial;
    long id = 0; // the service's
    QString softId;
    QString name;
    QString from; // the version it replaced; empty when there was none
    QString to;
    Result result = Result::Done;
    QString reason; // as the mechanic was told it; empty when done
    qint64 bytes = 0;
    bool verified = false;

    bool isNull() const { return !time.isValid(); }
    QJsonObject toJson() const;
    // Null when `json` is not a record.
    static HistoryRecord fromJson(const QJsonObject &json);
};
