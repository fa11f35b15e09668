#include <gtest/gtest.h>
#include <sstream>

#include "SqlEditor.h"

using namespace std::string_literals;

namespace {

struct TTextCase {
    const char* name;
    std::string input;
    TStringList lines;
    std::string text;
};

void PrintTo(const TTextCase& c, std::ostream* os)
{
    *os << c.name;
}

TStringList LinesOf(const TSqlEditor& editor)
{
    TStringList lines;
    for (int i = 0; i < editor.LineCount(); ++i)
        lines.push_back(editor.Line(i));
    return lines;
}

class SetTextTest : public testing::TestWithParam<TTextCase> {};

TEST_P(SetTextTest, CutsLinesAndReadsThemBackJoinedByCrLf)
{
    TSqlEditor editor;
    editor.SetText(GetParam().input);
    EXPECT_EQ(LinesOf(editor), GetParam().lines);
    EXPECT_EQ(editor.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetTextTest,
    testing::Values(TTextCase{"Empty", "", {}, ""},
                    TTextCase{"OneLine", "SELECT 1", {"SELECT 1"}, "SELECT 1"},
                    TTextCase{"FinalBreakAddsNoLine", "a\r\n", {"a"}, "a"},
                    TTextCase{"TwoFinalBreaksKeepOneEmptyLine", "a\r\n\r\n", {"a", ""}, "a\r\n"},
                    TTextCase{"MixedBreaks", "x\ny\rz", {"x", "y", "z"}, "x\r\ny\r\nz"},
                    TTextCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}, "a\r\n\r\nb"},
                    TTextCase{"NulEndsTheText", "ab\0cd"s, {"ab"}, "ab"},
                    // One empty line and no lines are the same empty document.
                    TTextCase{"OnlyBreak", "\r\n", {}, ""},
                    TTextCase{"Cyrillic", "SELECT 'Привет'\r\n-- ы", {"SELECT 'Привет'", "-- ы"},
                              "SELECT 'Привет'\r\n-- ы"},
                    TTextCase{"InvalidUtf8Kept", "a\xff\xc3(b\xe2\x80\xa8", {"a\xff\xc3(b\xe2\x80\xa8"},
                              "a\xff\xc3(b\xe2\x80\xa8"},
                    TTextCase{"ParagraphSeparatorStaysText", "a\xe2\x80\xa9" "b\xef\xb7\x90",
                              {"a\xe2\x80\xa9" "b\xef\xb7\x90"}, "a\xe2\x80\xa9" "b\xef\xb7\x90"}),
    [](const auto& info) { return std::string(info.param.name); });

class LoadFromStreamTest : public testing::TestWithParam<TTextCase> {};

TEST_P(LoadFromStreamTest, KeepsNulAndAddsAnEmptyLineAfterAFinalBreak)
{
    TSqlEditor editor;
    editor.SetText("old text");
    std::istringstream stream(GetParam().input);
    stream.seekg(0, std::ios::end);  // loading starts from the beginning all the same
    editor.LoadFromStream(stream);
    EXPECT_EQ(LinesOf(editor), GetParam().lines);
    EXPECT_EQ(editor.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadFromStreamTest,
    testing::Values(TTextCase{"Empty", "", {}, ""},
                    TTextCase{"CrLfFileReadsBackByteForByte", "SELECT 1\r\n", {"SELECT 1", ""}, "SELECT 1\r\n"},
                    TTextCase{"NoFinalBreak", "a\r\nb", {"a", "b"}, "a\r\nb"},
                    TTextCase{"LfBreaks", "a\nb\n", {"a", "b", ""}, "a\r\nb\r\n"},
                    TTextCase{"CrBreaks", "a\rb\r", {"a", "b", ""}, "a\r\nb\r\n"},
                    TTextCase{"OnlyBreak", "\n", {"", ""}, "\r\n"},
                    TTextCase{"NulKept", "ab\0cd\r\n\0"s, {"ab\0cd"s, "\0"s}, "ab\0cd\r\n\0"s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SqlEditorLinesTest, LineOutsideTheListIsEmpty)
{
    TSqlEditor editor;
    editor.SetText("a\r\nb");
    EXPECT_EQ(editor.Line(-1), "");
    EXPECT_EQ(editor.Line(2), "");
    EXPECT_EQ(editor.Line(1), "b");
}

TEST(SqlEditorLinesTest, EmptyLastLineMakesTheTextEndInCrLf)
{
    TSqlEditor editor;
    std::istringstream stream("SELECT * FROM t;\n");
    editor.LoadFromStream(stream);
    EXPECT_EQ(editor.LineCount(), 2);
    EXPECT_EQ(editor.Text(), "SELECT * FROM t;\r\n");
}

TEST(SqlEditorLinesTest, ReplacingTheTextIsOneUndoStep)
{
    TSqlEditor editor;
    editor.SetText("first");
    editor.SetText("second\r\nline");
    editor.undo();
    EXPECT_EQ(editor.Text(), "first");
    editor.redo();
    EXPECT_EQ(editor.Text(), "second\r\nline");
}

} // namespace
