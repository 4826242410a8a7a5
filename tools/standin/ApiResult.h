#pragma once

#include <QJsonValue>
#include <QString>

// The outcome of one service call before it is wrapped in the envelope:
// the result code and the payload that goes under "data".
struct ApiResult
{
    int code = 1;
    QJsonValue data = QJsonValue(QJsonValue::Null);

    static ApiResult ok(const QJsonValue &data = QJsonValue(QJsonValue::Null)) { return {1, data}; }
    static ApiResult fail(int code) { return {code, QJsonValue(QJsonValue::Null)}; }
};
