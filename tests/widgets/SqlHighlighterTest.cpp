#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "SqlEditor.h"
#include "SqlHighlighter.h"

namespace {

// The styled runs of a block as "b:text" (bold) and "i:text" (italic).
std::vector<std::string> StyledRuns(const TSqlEditor& editor, int line)
{
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    std::vector<std::string> runs;
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        const QTextCharFormat& f = range.format;
        EXPECT_FALSE(f.hasProperty(QTextFormat::ForegroundBrush));
        EXPECT_FALSE(f.hasProperty(QTextFormat::BackgroundBrush));
        const std::string text = block.text().mid(range.start, range.length).toStdString();
        if (f.fontWeight() == QFont::Bold)
            runs.push_back("b:" + text);
        if (f.fontItalic())
            runs.push_back("i:" + text);
    }
    return runs;
}

using TRuns = std::vector<std::vector<std::string>>;

std::vector<std::vector<std::string>> AllRuns(const TSqlEditor& editor)
{
    TRuns all;
    for (int i = 0; i < editor.document()->blockCount(); ++i)
        all.push_back(StyledRuns(editor, i));
    return all;
}

struct THighlightCase {
    const char* name;
    std::string text;
    TRuns runs;
};

void PrintTo(const THighlightCase& c, std::ostream* os)
{
    *os << c.name;
}

class HighlightTest : public testing::TestWithParam<THighlightCase> {};

TEST_P(HighlightTest, ReservedWordsBoldCommentsItalic)
{
    TSqlEditor editor;
    editor.SetText(GetParam().text);
    EXPECT_EQ(AllRuns(editor), GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HighlightTest,
    testing::Values(
        THighlightCase{"Statement", "SELECT name FROM t -- all", {{"b:SELECT", "b:FROM", "i:-- all"}}},
        THighlightCase{"QuotedWordsStayRegular", "'select' \"from\" where", {{"b:where"}}},
        THighlightCase{"OpenBlockCommentRunsOn", "a /* x\nselect\nb */ from",
                       {{"i:/* x"}, {"i:select"}, {"i:b */", "b:from"}}},
        THighlightCase{"OpenStringHidesReservedWords", "x = 'a\nselect from\n' where", {{}, {}, {"b:where"}}},
        THighlightCase{"EmptyLineKeepsTheState", "/*\n\nselect */ and", {{"i:/*"}, {}, {"i:select */", "b:and"}}},
        THighlightCase{"NonAsciiBeforeAWord", "ыы SELECTы -- ё", {{"b:SELECT", "i:-- ё"}}},
        THighlightCase{"InvalidByteBeforeAWord", "\xff select", {{"b:select"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SqlHighlighterTest, EditRehighlightsOnlyLinesWhoseStartStateChanged)
{
    TSqlEditor editor;
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "select a from t;\n";
    editor.SetText(text);
    TSqlHighlighter* highlighter = editor.Highlighter();
    ASSERT_NE(highlighter, nullptr);

    QTextCursor cursor(editor.document()->findBlockByNumber(10));
    highlighter->ResetHighlightedBlockCount();
    cursor.insertText("x");
    EXPECT_EQ(highlighter->HighlightedBlockCount(), 1);

    highlighter->ResetHighlightedBlockCount();
    cursor.insertText("/*");  // every following line turns comment
    EXPECT_EQ(highlighter->HighlightedBlockCount(), 40);
    EXPECT_EQ(StyledRuns(editor, 49), std::vector<std::string>{"i:select a from t;"});

    highlighter->ResetHighlightedBlockCount();
    cursor.deletePreviousChar();
    EXPECT_EQ(highlighter->HighlightedBlockCount(), 40);
    EXPECT_EQ(StyledRuns(editor, 49), (std::vector<std::string>{"b:select", "b:from"}));
}

} // namespace

TEST(SqlHighlighterTest, LinesTooLongToHighlightAreDrawnPlainAndPassTheirStateOn)
{
    TSqlEditor editor;
    const std::string longLine = "SELECT " + std::string(TSqlHighlighter::kMaxHighlightedLineLength, 'x');
    for (const char* before : {"SELECT 1", "/* open"}) {
        editor.SetText(std::string(before) + "\n" + longLine + "\nselect 2 */ select");
        const TRuns runs = AllRuns(editor);
        ASSERT_EQ(runs.size(), 3u);
        EXPECT_TRUE(runs[1].empty()) << before;
        if (std::string(before) == "SELECT 1")
            EXPECT_EQ(runs[2], (std::vector<std::string>{"b:select", "b:select"}));
        else
            EXPECT_EQ(runs[2], (std::vector<std::string>{"i:select 2 */", "b:select"}));
    }
    // At the limit, the line is highlighted.
    editor.SetText(longLine.substr(0, TSqlHighlighter::kMaxHighlightedLineLength));
    EXPECT_EQ(AllRuns(editor)[0], (std::vector<std::string>{"b:SELECT"}));
}
