#pragma once

#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT FeedbackUpdateInfoResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit FeedbackUpdateInfoResponse(QObject *parent = nullptr);
    FeedbackUpdateInfoResponse(const FeedbackUpdateInfoResponse &other);
    FeedbackUpdateInfoResponse &operator=(const FeedbackUpdateInfoResponse &other);
};
