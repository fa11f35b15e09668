#include <gtest/gtest.h>

#include <filesystem>

#include "IniFile.h"
#include "TextLines.h"

namespace fs = std::filesystem;

namespace {

struct IntegerCase {
    std::string text;
    std::optional<int> value;
};

class IniIntegerTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ParsesDecimalAndHexadecimal)
{
    EXPECT_EQ(ParseIniInteger(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, IniIntegerTest, testing::Values(
    IntegerCase{"1234", 1234},
    IntegerCase{"-5", -5},
    IntegerCase{"+7", 7},
    IntegerCase{"0", 0},
    IntegerCase{"0x1F", 31},
    IntegerCase{"0X1f", 31},
    IntegerCase{"$ff", 255},
    IntegerCase{"2147483647", 2147483647},
    IntegerCase{"-2147483648", -2147483647 - 1},
    IntegerCase{"2147483648", std::nullopt},
    IntegerCase{"$100000000", std::nullopt},
    IntegerCase{"", std::nullopt},
    IntegerCase{"abc", std::nullopt},
    IntegerCase{"12abc", std::nullopt},
    IntegerCase{"0x", std::nullopt},
    IntegerCase{"$-1", std::nullopt},
    IntegerCase{"--1", std::nullopt},
    IntegerCase{"+-1", std::nullopt},
    IntegerCase{"1 2", std::nullopt},
    IntegerCase{"1.5", std::nullopt}));

class IniFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        file_ = (fs::temp_directory_path() / ("inifile-" + std::to_string(::getpid()) + ".INI")).string();
    }
    void TearDown() override { fs::remove(file_); }
    void Write(const std::string& text) { WriteFileBytes(file_, text); }
    int MaxBytes() const { return TIniFile(file_).ReadInteger("SqlEditor", "MaxBytesLoaded", 1000); }

    std::string file_;
};

TEST_F(IniFileTest, ReadsTheKeyOfItsSectionOnly)
{
    struct Case { std::string text; int value; };
    const Case cases[] = {
        {"[SqlEditor]\r\nMaxBytesLoaded=5000\r\n", 5000},
        {"[sqleditor]\nmaxbytesloaded = 0x10 \n", 16},
        {"; comment\n[Other]\nMaxBytesLoaded=1\n[SqlEditor]\nOther=2\nMaxBytesLoaded=$20\n", 32},
        {"[Other]\nMaxBytesLoaded=1\n", 1000},
        {"MaxBytesLoaded=1\n", 1000},
        {"[SqlEditor]\nMaxBytesLoaded=lots\n", 1000},
        {"[SqlEditor]\nMaxBytesLoaded=\n", 1000},
        {"[SqlEditor]\n", 1000},
        {"", 1000},
    };
    for (const auto& c : cases) {
        Write(c.text);
        EXPECT_EQ(MaxBytes(), c.value) << c.text;
    }
}

TEST_F(IniFileTest, MissingFileGivesTheDefault)
{
    EXPECT_EQ(MaxBytes(), 1000);
}

TEST_F(IniFileTest, AFileLargerThanAnyIniIsRefusedByName)
{
    Write("[SqlEditor]\nMaxBytesLoaded=1\n" + std::string(TIniFile::kMaxFileSize, ';'));
    TIniFile ini(file_);
    try {
        ini.ReadInteger("SqlEditor", "MaxBytesLoaded", 1000);
        ADD_FAILURE() << "a huge file was read";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(file_), std::string::npos) << e.what();
    }
}

TEST_F(IniFileTest, ReadsTheFileAtEveryUse)
{
    const TIniFile ini(file_);
    Write("[SqlEditor]\nMaxBytesLoaded=1\n");
    EXPECT_EQ(ini.ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 1);
    Write("[SqlEditor]\nMaxBytesLoaded=2\n");
    EXPECT_EQ(ini.ReadInteger("SqlEditor", "MaxBytesLoaded", 1000), 2);
    EXPECT_EQ(ini.ReadValue("SqlEditor", "MaxBytesLoaded"), "2");
}

} // namespace
