#include "DataLink.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <utility>

struct TInitStringCase {
    const char* text;
    const char* key;
    const char* value;
};

class InitStringTest : public testing::TestWithParam<TInitStringCase> {};

TEST_P(InitStringTest, ReadsTheValue)
{
    TInitProperties props = ParseInitString(GetParam().text);
    EXPECT_EQ(props.Get(GetParam().key), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, InitStringTest,
    testing::Values(TInitStringCase{"Provider=SQLite;Data Source=a.db", "data source", "a.db"},
                    TInitStringCase{"  Data Source  =  a b.db  ;", "Data Source", "a b.db"},
                    TInitStringCase{"X=\"a;b\"", "x", "a;b"},
                    TInitStringCase{"X='it''s'", "X", "it's"},
                    TInitStringCase{"X=\"\"\"Company's \"\"new\"\" customer\"\"\"", "X", "\"Company's \"new\" customer\""},
                    TInitStringCase{"X=1;x=2", "X", "2"},
                    TInitStringCase{"Provider=SQLite;PROVIDER=MSDASQL", "provider", "SQLite"},
                    TInitStringCase{"a==b=c", "a=b", "c"},
                    TInitStringCase{";;X=1;;", "X", "1"},
                    TInitStringCase{"X=", "X", ""}));

TEST(InitString, MalformedStringsFail)
{
    for (const char* text : {"X=\"open", "X='a' b", "novalue", "=1"})
        EXPECT_THROW(ParseInitString(text), std::runtime_error) << text;
}

// The same text in the other byte order, or without its byte-order mark.
std::string BigEndian(const std::string& littleEndian)
{
    std::string bytes = littleEndian;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

TEST(DataLinkFile, ReadsUtf16Utf8AndEightBitFiles)
{
    TTempDir dir;
    const std::string init = "Provider=SQLite;Data Source=x.db";
    struct { const char* name; std::string bytes; } files[] = {
        {"utf16.udl", Utf16Udl(init)},
        {"utf16-no-bom.udl", Utf16Udl(init).substr(2)},
        {"utf16be.udl", BigEndian(Utf16Udl(init))},
        {"utf16be-no-bom.udl", BigEndian(Utf16Udl(init)).substr(2)},
        {"utf8.udl", "\xEF\xBB\xBF[oledb]\r\n; comment\r\n" + init + "\r\n"},
        {"plain.udl", "[oledb]\n; comment\n" + init},
    };
    for (const auto& file : files) {
        WriteBytes(dir.File(file.name), file.bytes);
        TInitProperties props = ReadDataLinkFile(dir.File(file.name));
        EXPECT_EQ(props.Get("Provider"), "SQLite") << file.name;
        EXPECT_EQ(props.Get("Data Source"), "x.db") << file.name;
        EXPECT_EQ(props.FileDir, dir.File("")) << file.name;
    }
}

TEST(DataLinkFile, OnlyTheFirstRealLineIsRead)
{
    TTempDir dir;
    // Blank lines before it, and anything at all after it.
    const std::string after = "\r\n" + std::string(100000, '\n') + "not=\"a list";
    WriteBytes(dir.File("x.udl"), std::string(500000, '\n') + "Provider=SQLite;Data Source=x.db" + after);
    EXPECT_EQ(ReadDataLinkFile(dir.File("x.udl")).Get("Data Source"), "x.db");
}

TEST(DataLinkFile, ErrorsNameTheFile)
{
    TTempDir dir;
    WriteBytes(dir.File("empty.udl"), Utf16Udl(""));
    WriteBytes(dir.File("bad.udl"), Utf16Udl("Provider=\"SQLite"));
    WriteBytes(dir.File("huge.udl"), std::string(kMaxDataLinkFileSize, '\n') + "Provider=SQLite");
    for (const char* name : {"missing.udl", "empty.udl", "bad.udl", "huge.udl", "/dev/zero"}) {
        const std::string path = name[0] == '/' ? name : dir.File(name);
        try {
            ReadDataLinkFile(path);
            ADD_FAILURE() << name << " was accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}
