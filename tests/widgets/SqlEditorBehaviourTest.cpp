#include <QKeyEvent>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "EditorWindow.h"
#include "SqlEditor.h"

namespace {

// Keys typed at a caret; "|" in `before` marks where the caret starts.
struct TTypingCase {
    const char* name;
    std::string before;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    std::string after;
};

void PrintTo(const TTypingCase& c, std::ostream* os)
{
    *os << c.name;
}

class TypingTest : public testing::TestWithParam<TTypingCase> {};

TEST_P(TypingTest, EditsTheLines)
{
    TEditorWindow w(QSize(600, 400));
    const std::string& before = GetParam().before;
    const size_t caret = before.find('|');
    w.editor->SetText(before.substr(0, caret) + before.substr(caret + 1));
    QTextCursor cursor = w.editor->textCursor();
    cursor.setPosition(static_cast<int>(caret));
    w.editor->setTextCursor(cursor);

    for (const auto& [key, modifiers] : GetParam().keys)
        QTest::keyClick(w.editor, key, modifiers);

    EXPECT_EQ(w.editor->Text(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TypingTest,
    testing::Values(
        TTypingCase{"EnterKeepsTheIndent", "    select|", {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_A, Qt::NoModifier}},
                    "    select\r\n    a"},
        TTypingCase{"IndentStopsAtTheCaret", "  |  x", {{Qt::Key_Enter, Qt::NoModifier}}, "  \r\n    x"},
        TTypingCase{"ShiftEnterBreaksTheLineToo", "a|b", {{Qt::Key_Return, Qt::ShiftModifier}}, "a\r\nb"},
        TTypingCase{"InsertSwitchesToOverwrite", "a|bc",
                    {{Qt::Key_Insert, Qt::NoModifier}, {Qt::Key_X, Qt::NoModifier}, {Qt::Key_Insert, Qt::NoModifier},
                     {Qt::Key_Y, Qt::NoModifier}},
                    "axyc"},
        TTypingCase{"TabDoesNotEnterTheText", "a|", {{Qt::Key_Tab, Qt::NoModifier}}, "a"},
        TTypingCase{"CtrlTabDoesNotEnterTheText", "a|", {{Qt::Key_Tab, Qt::ControlModifier}}, "a"},
        TTypingCase{"F9DoesNotEnterTheText", "a|", {{Qt::Key_F9, Qt::NoModifier}}, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

// Pasted (or dropped) text enters by the rule of SetText: only CR and LF
// break lines; Unicode line and paragraph separators are ordinary characters.
TEST(SqlEditorBehaviourTest, PastedTextIsCutIntoLinesLikeSetText)
{
    struct Case {
        QString pasted;
        int lines;
        std::string text;
    };
    const Case cases[] = {
        {QStringLiteral("a\r\nb\rc\nd"), 4, "a\r\nb\r\nc\r\nd"},
        {QStringLiteral("a\u2028b\u2029c\nd"), 2, "a\xE2\x80\xA8" "b\xE2\x80\xA9" "c\r\nd"},
        {QStringLiteral("x\n"), 2, "x\r\n"},
        {QString::fromUtf8("ab\0cd", 5), 1, "ab"},
    };
    for (const Case& c : cases) {
        TEditorWindow w(QSize(600, 400));
        QApplication::clipboard()->setText(c.pasted);
        w.editor->paste();
        EXPECT_EQ(w.editor->LineCount(), c.lines) << c.text;
        EXPECT_EQ(w.editor->Text(), c.text);
        // What the user sees: one line per program line.
        EXPECT_FALSE(w.editor->document()->toPlainText().contains(QChar::LineSeparator)) << c.text;
    }
}

TEST(SqlEditorBehaviourTest, TypedLineSeparatorIsAnOrdinaryCharacter)
{
    TEditorWindow w(QSize(600, 400));
    QKeyEvent separator(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar::LineSeparator));
    QApplication::sendEvent(w.editor, &separator);
    EXPECT_EQ(w.editor->LineCount(), 1);
    EXPECT_EQ(w.editor->Text(), "\xE2\x80\xA8");
}

TEST(SqlEditorBehaviourTest, TabMovesTheFocusOn)
{
    TEditorWindow w(QSize(600, 400));
    QTest::keyClick(w.editor, Qt::Key_Tab);
    EXPECT_TRUE(w.next->hasFocus());
}

TEST(SqlEditorBehaviourTest, OverwriteModeShowsABlockCaret)
{
    TEditorWindow w(QSize(600, 400));
    EXPECT_FALSE(w.editor->overwriteMode());
    const int insertCaret = w.editor->cursorWidth();
    QTest::keyClick(w.editor, Qt::Key_Insert);
    EXPECT_TRUE(w.editor->overwriteMode());
    EXPECT_GT(w.editor->cursorWidth(), insertCaret);
}

TEST(SqlEditorBehaviourTest, LooksLikeACodeEditor)
{
    TEditorWindow w(QSize(600, 400));
    TSqlEditor& e = *w.editor;
    EXPECT_EQ(e.font().pointSize(), 10);
    // Monospaced as the user sees it: every character advances the same width.
    const QFontMetricsF metrics(e.font());
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char('0')), metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(e.viewport()->geometry().left() - e.contentsRect().left(), TSqlEditor::kGutterWidth);
    EXPECT_EQ(e.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(e.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(e.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_DOUBLE_EQ(e.tabStopDistance(), 8 * QFontMetricsF(e.font()).horizontalAdvance(QLatin1Char(' ')));
    EXPECT_TRUE(e.tabChangesFocus());
    EXPECT_FALSE(e.isReadOnly());
}

TEST(SqlEditorBehaviourTest, KeepsManyUndoSteps)
{
    TEditorWindow w(QSize(600, 400));
    for (int i = 0; i < 1100; ++i) {
        QTest::keyClick(w.editor, Qt::Key_A);
        QTest::keyClick(w.editor, Qt::Key_Return);  // each line is its own step
    }
    const int steps = w.editor->document()->availableUndoSteps();
    EXPECT_GE(steps, 1024);
    for (int i = 0; i < steps; ++i)
        w.editor->undo();
    EXPECT_EQ(w.editor->Text(), "");
}

} // namespace
