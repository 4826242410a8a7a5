// Feeds arbitrary answer bodies to the generic mapper, every hand-written
// list parser and the inverse mapping: none may crash, leak or hit
// undefined behaviour, whatever the service sends.
//
// Long runs: -detect_leaks=0 (Qt's own JSON leak on duplicate keys sits in
// uninstrumented frames that fast unwinding cannot see). Leak check of the
// corpus: ASAN_OPTIONS=fast_unwind_on_malloc=0 and
// LSAN_OPTIONS=suppressions=fuzz_parse.lsan, with -runs=0.
#include <Sornet/Sornet.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));

    LoginResponse login;
    BaseAction::parse(&login, body);
    BaseAction::serialize(login);

    // A tree with children of several classes, some named, for the
    // object and array matching rules.
    QObject root;
    new CarData(&root);
    auto *named = new CarData(&root);
    named->setObjectName(QStringLiteral("named"));
    new LanguageData(new QObject(&root));
    BaseAction::parse(&root, body);
    BaseAction::serialize(root);

    QueryProductResponse products;
    ProductAction::parseQueryProduct(products, body);
    QuerySoftwareResponse software;
    ProductAction::parseQuerySoftware(software, body);
    QuerySoftwareResponse copy(software);
    (void)(copy.getData() == software.getData());
    GetAllCarListAndLanguageListResponse cars;
    ProductAction::parseAllCarListAndLanguageList(cars, body);
    ReplaceEmptyCarConfigurationResponse replace;
    ProductAction::parseReplaceEmptyCarConfiguration(replace, body);
    CountryListResponse countries;
    UserAction::parseCountryList(countries, body);
    return 0;
}
