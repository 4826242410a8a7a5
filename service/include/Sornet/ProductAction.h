#pragma once

#include <Sornet/BaseAction.h>
#include <Sornet/FeedbackUpdateInfoParam.h>
#include <Sornet/FeedbackUpdateInfoResponse.h>
#include <Sornet/GetAllCarListAndLanguageListParam.h>
#include <Sornet/GetAllCarListAndLanguageListResponse.h>
#include <Sornet/QueryProductParam.h>
#include <Sornet/QueryProductResponse.h>
#include <Sornet/QuerySoftwareParam.h>
#include <Sornet/QuerySoftwareResponse.h>
#include <Sornet/ReplaceEmptyCarConfigurationParam.h>
#include <Sornet/ReplaceEmptyCarConfigurationResponse.h>
#include <Sornet/sornet_export.h>

// The product side of the service: the user's products, a product's
// software list, the single-vehicle configuration and download feedback.
class SORNET_EXPORT ProductAction : public BaseAction
{
    Q_OBJECT

public:
    explicit ProductAction(QObject *parent = nullptr);

    int queryProduct(QueryProductResponse &response, QueryProductParam &param);
    int querySoftware(QuerySoftwareResponse &response, QuerySoftwareParam &param);
    int getAllCarListAndLanguageList(GetAllCarListAndLanguageListResponse &response,
                                     GetAllCarListAndLanguageListParam &param);
    int replaceEmptyCarConfiguration(ReplaceEmptyCarConfigurationResponse &response,
                                     ReplaceEmptyCarConfigurationParam &param);
    int feedbackUpdateInfo(FeedbackUpdateInfoResponse &response, FeedbackUpdateInfoParam &param);

    // The answer parsers: 200, or -1 on unreadable JSON. Members of the
    // wrong JSON type are skipped; lists are appended to, never cleared.
    static int parseQueryProduct(QueryProductResponse &response, const QString &body);
    static int parseQuerySoftware(QuerySoftwareResponse &response, const QString &body);
    static int parseAllCarListAndLanguageList(GetAllCarListAndLanguageListResponse &response,
                                              const QString &body);
    static int parseReplaceEmptyCarConfiguration(ReplaceEmptyCarConfigurationResponse &response,
                                                 const QString &body);
};
