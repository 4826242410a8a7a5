#include "SornetTypes.h"

#include <Sornet/Sornet.h>

#include <QMetaType>
#include <QtGlobal>

#include <cmath>
#include <limits>
#include <mutex>

namespace {

template<typename T>
void registerValue(const char *name)
{
    qRegisterMetaType<T>(name);
    qRegisterMetaType<QList<T>>();
    if (!QMetaType::hasRegisteredConverterFunction<T, QVariantMap>())
        QMetaType::registerConverter<T, QVariantMap>([](const T &value) { return BaseAction::objectToMap(&value); });
}

template<typename N>
bool fits(double value, N &out)
{
    if (!std::isfinite(value) || value < double(std::numeric_limits<N>::min())
        || value >= -double(std::numeric_limits<N>::min()))
        return false;
    out = static_cast<N>(value);
    return true;
}

} // namespace

void SornetTypes::registerAll()
{
    static std::once_flag once;
    std::call_once(once, [] {
        registerValue<LoginData>("LoginData");
        registerValue<UserInfoData>("UserInfoData");
        registerValue<CountryData>("CountryData");
        registerValue<ProductBean>("ProductBean");
        registerValue<ProductData>("ProductData");
        registerValue<SoftwareData>("SoftwareData");
        registerValue<CarData>("CarData");
        registerValue<LanguageData>("LanguageData");
        registerValue<AllCarListAndLanguageListData>("AllCarListAndLanguageListData");
        registerValue<DownloadInfoData>("DownloadInfoData");
        qRegisterMetaType<LoginResponse>("LoginResponse");
        qRegisterMetaType<GetUserInfoResponse>("GetUserInfoResponse");
        qRegisterMetaType<CountryListResponse>("CountryListResponse");
        qRegisterMetaType<QueryProductResponse>("QueryProductResponse");
        qRegisterMetaType<QuerySoftwareResponse>("QuerySoftwareResponse");
        qRegisterMetaType<GetAllCarListAndLanguageListResponse>("GetAllCarListAndLanguageListResponse");
        qRegisterMetaType<ReplaceEmptyCarConfigurationResponse>("ReplaceEmptyCarConfigurationResponse");
        qRegisterMetaType<GetDownloadURLResponse>("GetDownloadURLResponse");
    });
}

bool SornetTypes::toInt(double value, int &out)
{
    return fits(value, out);
}

bool SornetTypes::toLong(double value, long &out)
{
    return fits(value, out);
}

// Registered as the library loads, so that callers can queue these types
// before they construct any action.
static void registerSornetTypes()
{
    SornetTypes::registerAll();
}
Q_CONSTRUCTOR_FUNCTION(registerSornetTypes)
