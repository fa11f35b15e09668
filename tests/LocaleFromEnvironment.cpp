// Linked into the test programs that also run under a decimal-comma locale.
// With QUILLET_LOCALE_FROM_ENVIRONMENT set, the C library takes its whole
// locale from the environment first, as QApplication makes it do, so that
// every conversion that would follow the C library's locale shows.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string_view>

namespace {

class TLocaleFromEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        if (!std::getenv("QUILLET_LOCALE_FROM_ENVIRONMENT"))
            return;
        if (!std::setlocale(LC_ALL, "") || std::string_view(std::localeconv()->decimal_point) != ",")
            GTEST_SKIP() << "decimal-comma locale unavailable (localedef could not make one)";
    }
};

testing::Environment* const registered = testing::AddGlobalTestEnvironment(new TLocaleFromEnvironment);

} // namespace
