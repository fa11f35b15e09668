#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "SqlScanner.h"

namespace {

using K = TSqlTokenKind;
using S = TSqlScanState;
using TPieces = std::vector<std::pair<K, std::string>>;

struct TScanCase {
    const char* name;
    std::string line;
    S start;
    TPieces tokens;
    S end;
};

void PrintTo(const TScanCase& c, std::ostream* os)
{
    *os << c.name;
}

const char* KindName(K kind)
{
    switch (kind) {
    case K::Comment: return "Comment";
    case K::DelimitedIdentifier: return "DelimitedIdentifier";
    case K::Identifier: return "Identifier";
    case K::Number: return "Number";
    case K::ReservedWord: return "ReservedWord";
    case K::Space: return "Space";
    case K::String: return "String";
    case K::Symbol: return "Symbol";
    case K::Variable: return "Variable";
    case K::Unknown: return "Unknown";
    }
    return "?";
}

// "Kind:text" per token, so a failure shows the whole split at a glance.
std::vector<std::string> Describe(const TPieces& pieces)
{
    std::vector<std::string> out;
    for (const auto& [kind, text] : pieces)
        out.push_back(std::string(KindName(kind)) + ":" + text);
    return out;
}

class ScanSqlLineTest : public testing::TestWithParam<TScanCase> {};

TEST_P(ScanSqlLineTest, SplitsTheLineIntoTokensThatCoverIt)
{
    const TScanCase& c = GetParam();
    std::vector<TSqlToken> tokens{{K::Symbol, 99, 1}};  // stale content is dropped
    const S end = ScanSqlLine(c.line, c.start, tokens);

    TPieces pieces;
    int next = 0;
    for (const TSqlToken& token : tokens) {
        EXPECT_EQ(token.start, next) << "tokens must cover the line without gaps";
        ASSERT_GT(token.length, 0);
        pieces.emplace_back(token.kind, c.line.substr(static_cast<size_t>(token.start), static_cast<size_t>(token.length)));
        next = token.start + token.length;
    }
    EXPECT_EQ(next, static_cast<int>(c.line.size()));
    EXPECT_EQ(Describe(pieces), Describe(c.tokens));
    EXPECT_EQ(end, c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Words, ScanSqlLineTest,
    testing::Values(
        TScanCase{"ReservedInAnyCase", "select SELECT Select", S::Normal,
                  {{K::ReservedWord, "select"}, {K::Space, " "}, {K::ReservedWord, "SELECT"}, {K::Space, " "},
                   {K::ReservedWord, "Select"}},
                  S::Normal},
        TScanCase{"LongerWordsAreIdentifiers", "selected select_1 select$ sel#x", S::Normal,
                  {{K::Identifier, "selected"}, {K::Space, " "}, {K::Identifier, "select_1"}, {K::Space, " "},
                   {K::Identifier, "select$"}, {K::Space, " "}, {K::Identifier, "sel#x"}},
                  S::Normal},
        TScanCase{"Variable", "@select @", S::Normal,
                  {{K::Variable, "@select"}, {K::Space, " "}, {K::Variable, "@"}}, S::Normal},
        TScanCase{"TypeNamesOutsideTheList", "integer varchar sum count", S::Normal,
                  {{K::Identifier, "integer"}, {K::Space, " "}, {K::ReservedWord, "varchar"}, {K::Space, " "},
                   {K::Identifier, "sum"}, {K::Space, " "}, {K::ReservedWord, "count"}},
                  S::Normal},
        TScanCase{"HyphenEndsAWord", "END-EXEC", S::Normal,
                  {{K::ReservedWord, "END"}, {K::Symbol, "-"}, {K::Identifier, "EXEC"}}, S::Normal},
        TScanCase{"BracketedName", "[user]", S::Normal,
                  {{K::Symbol, "["}, {K::ReservedWord, "user"}, {K::Symbol, "]"}}, S::Normal},
        TScanCase{"Parameter", ":name :from", S::Normal,
                  {{K::Symbol, ":"}, {K::Identifier, "name"}, {K::Space, " "}, {K::Symbol, ":"},
                   {K::ReservedWord, "from"}},
                  S::Normal},
        TScanCase{"CyrillicLetterEndsAWord", "SELECTы", S::Normal,
                  {{K::ReservedWord, "SELECT"}, {K::Unknown, "ы"}}, S::Normal},
        TScanCase{"CyrillicWordCharByChar", "имя", S::Normal,
                  {{K::Unknown, "и"}, {K::Unknown, "м"}, {K::Unknown, "я"}}, S::Normal},
        TScanCase{"StrayBytesOneByOne", "\xff\xc3(#$\\`\x7f", S::Normal,
                  {{K::Unknown, "\xff"}, {K::Unknown, "\xc3"}, {K::Symbol, "("}, {K::Unknown, "#"}, {K::Unknown, "$"},
                   {K::Unknown, "\\"}, {K::Unknown, "`"}, {K::Unknown, "\x7f"}},
                  S::Normal}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NumbersAndSymbols, ScanSqlLineTest,
    testing::Values(
        TScanCase{"NumbersWithDotsAndHyphens", "1-2 3.14.15 42", S::Normal,
                  {{K::Number, "1-2"}, {K::Space, " "}, {K::Number, "3.14.15"}, {K::Space, " "}, {K::Number, "42"}},
                  S::Normal},
        TScanCase{"RangeSplitsBeforeTwoDots", "1..5", S::Normal,
                  {{K::Number, "1"}, {K::Symbol, "."}, {K::Symbol, "."}, {K::Number, "5"}}, S::Normal},
        TScanCase{"CompoundOperators", "a<>b<=c>=d!=e||f:=g", S::Normal,
                  {{K::Identifier, "a"}, {K::Symbol, "<>"}, {K::Identifier, "b"}, {K::Symbol, "<="},
                   {K::Identifier, "c"}, {K::Symbol, ">="}, {K::Identifier, "d"}, {K::Symbol, "!="},
                   {K::Identifier, "e"}, {K::Symbol, "||"}, {K::Identifier, "f"}, {K::Symbol, ":="},
                   {K::Identifier, "g"}},
                  S::Normal},
        TScanCase{"SingleSymbols", "(*),;./-", S::Normal,
                  {{K::Symbol, "("}, {K::Symbol, "*"}, {K::Symbol, ")"}, {K::Symbol, ","}, {K::Symbol, ";"},
                   {K::Symbol, "."}, {K::Symbol, "/"}, {K::Symbol, "-"}},
                  S::Normal},
        TScanCase{"ControlCharsAreSpace", std::string(" \t\0\x1f", 4) + "x", S::Normal,
                  {{K::Space, std::string(" \t\0\x1f", 4)}, {K::Identifier, "x"}}, S::Normal},
        TScanCase{"LineBreaksAreSpaceTokens", "a\r\n\n\rb", S::Normal,
                  {{K::Identifier, "a"}, {K::Space, "\r\n"}, {K::Space, "\n"}, {K::Space, "\r"}, {K::Identifier, "b"}},
                  S::Normal}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    QuotesAndComments, ScanSqlLineTest,
    testing::Values(
        TScanCase{"QuotedWordsAreNotReserved", "'select' \"select\"", S::Normal,
                  {{K::String, "'select'"}, {K::Space, " "}, {K::DelimitedIdentifier, "\"select\""}}, S::Normal},
        TScanCase{"LineComment", "x -- select 'a", S::Normal,
                  {{K::Identifier, "x"}, {K::Space, " "}, {K::Comment, "-- select 'a"}}, S::Normal},
        TScanCase{"DoubledQuoteInsideName", "\"a\"\"b\" c", S::Normal,
                  {{K::DelimitedIdentifier, "\"a\"\"b\""}, {K::Space, " "}, {K::Identifier, "c"}}, S::Normal},
        TScanCase{"UnterminatedNameEndsAtLineEnd", "\"abc from", S::Normal,
                  {{K::DelimitedIdentifier, "\"abc from"}}, S::Normal},
        TScanCase{"UnterminatedStringCarriesOver", "x = 'abc", S::Normal,
                  {{K::Identifier, "x"}, {K::Space, " "}, {K::Symbol, "="}, {K::Space, " "}, {K::String, "'abc"}},
                  S::String},
        TScanCase{"StringGoesOnUntilItsQuote", "select ' from", S::String,
                  {{K::String, "select '"}, {K::Space, " "}, {K::ReservedWord, "from"}}, S::Normal},
        TScanCase{"StringLineWithoutQuote", "select from", S::String, {{K::String, "select from"}}, S::String},
        TScanCase{"EmptyLineKeepsString", "", S::String, {}, S::String},
        TScanCase{"BlockCommentOnOneLine", "a/* x */b", S::Normal,
                  {{K::Identifier, "a"}, {K::Comment, "/* x */"}, {K::Identifier, "b"}}, S::Normal},
        TScanCase{"UnterminatedBlockComment", "a /* select", S::Normal,
                  {{K::Identifier, "a"}, {K::Space, " "}, {K::Comment, "/* select"}}, S::BlockComment},
        TScanCase{"BlockCommentContinues", "select", S::BlockComment, {{K::Comment, "select"}}, S::BlockComment},
        TScanCase{"BlockCommentEnds", "x */ select", S::BlockComment,
                  {{K::Comment, "x */"}, {K::Space, " "}, {K::ReservedWord, "select"}}, S::Normal},
        TScanCase{"SlashStarSlashIsOpen", "/*/", S::Normal, {{K::Comment, "/*/"}}, S::BlockComment},
        TScanCase{"EmptyLineKeepsComment", "", S::BlockComment, {}, S::BlockComment},
        TScanCase{"EmptyLineNormal", "", S::Normal, {}, S::Normal}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SqlReservedWordsTest, LookupIgnoresTheCaseOfAsciiLettersOnly)
{
    for (const char* word : {"absolute", "ZONE", "Current_Timestamp", "end-exec", "timezone_minute", "boolean"})
        EXPECT_TRUE(IsSqlReservedWord(word)) << word;
    for (const char* word : {"", "integer", "char", "decimal", "sum", "max", "min", "avg", "selec", "selectx",
                             "current_timestamps", "end_exec"})
        EXPECT_FALSE(IsSqlReservedWord(word)) << word;
}

} // namespace

namespace {

TEST(SqlScannerTest, AnyBytesInAnyStateAreCoveredByTokens)
{
    std::mt19937 random(11);
    const std::string alphabet = std::string("aZ_9#$@'\"-/*.\\` \t\r\n\x7f\x80\xd1\x8b\xe2\x80\xa8", 27) + '\0';
    std::vector<TSqlToken> tokens;
    for (int i = 0; i < 2000; ++i) {
        std::string line(static_cast<size_t>(random() % 24), ' ');
        for (char& c : line)
            c = i % 2 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
        const auto start = static_cast<S>(random() % 3);
        ScanSqlLine(line, start, tokens);
        int next = 0;
        for (const TSqlToken& token : tokens) {
            ASSERT_EQ(token.start, next) << testing::PrintToString(line);
            ASSERT_GT(token.length, 0) << testing::PrintToString(line);
            next += token.length;
        }
        ASSERT_EQ(next, static_cast<int>(line.size())) << testing::PrintToString(line);
    }
}

} // namespace
