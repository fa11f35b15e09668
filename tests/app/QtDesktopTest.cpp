#include <gtest/gtest.h>

#include "QtDesktop.h"

namespace {

TEST(QtDesktop, FileFilterBecomesQtFilter)
{
    struct Case {
        std::string filter;
        QString qt;
    };
    const Case cases[] = {
        {"Universal Data Link files|*.udl", "Universal Data Link files (*.udl)"},
        {"SQL files|*.sql;*.txt|All files|*", "SQL files (*.sql *.txt);;All files (*)"},
        {"", ""},
        {"Dangling description", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtFileFilter(c.filter), c.qt) << c.filter;
}

} // namespace
