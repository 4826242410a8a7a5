#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT FeedbackUpdateInfoParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(long down_time READ getDown_time WRITE setDown_time)
    Q_PROPERTY(long id READ getId WRITE setId)
    Q_PROPERTY(QString serial_number READ getSerial_number WRITE setSerial_number)
    Q_PROPERTY(int status READ getStatus WRITE setStatus)

public:
    explicit FeedbackUpdateInfoParam(QObject *parent = nullptr);
    FeedbackUpdateInfoParam(const FeedbackUpdateInfoParam &other);
    FeedbackUpdateInfoParam &operator=(const FeedbackUpdateInfoParam &other);

    long getDown_time() const { return mDown_time; }
    void setDown_time(long value) { mDown_time = value; }
    long getId() const { return mId; }
    void setId(long value) { mId = value; }
    QString getSerial_number() const { return mSerial_number; }
    void setSerial_number(const QString &value) { mSerial_number = value; }
    int getStatus() const { return mStatus; }
    void setStatus(int value) { mStatus = value; }

private:
    long mDown_time = 0;
    long mId = 0;
    QString mSerial_number;
    int mStatus = 0;
};
