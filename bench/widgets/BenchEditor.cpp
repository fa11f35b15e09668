// Speed of the SQL editor on a 200,000-line script: scanning, loading and
// showing the first screen, and how much one keystroke re-highlights.
#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "SqlEditor.h"
#include "SqlHighlighter.h"
#include "SqlScanner.h"
#include "TextLines.h"

namespace {

constexpr int kLines = 200000;
const char* const kChinook = "/work/shared/data/chinook/Chinook_Sqlite.sql";

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Stand-in script when the sample is absent: tables, inserts and comments.
TStringList GeneratedScript()
{
    TStringList lines;
    for (int i = 0; lines.size() < 1000; ++i) {
        lines.push_back("/*******************************************************************************");
        lines.push_back("   Create Table " + std::to_string(i));
        lines.push_back("********************************************************************************/");
        lines.push_back("CREATE TABLE [Track" + std::to_string(i) + "] (");
        lines.push_back("    [TrackId] INTEGER  NOT NULL, [Name] NVARCHAR(200)  NOT NULL, -- the title");
        lines.push_back("    CONSTRAINT [PK_Track] PRIMARY KEY  ([TrackId])");
        lines.push_back(");");
        for (int k = 0; k < 20; ++k)
            lines.push_back("INSERT INTO [Track] ([TrackId], [Name], [UnitPrice]) VALUES (" + std::to_string(k)
                            + ", N'For Those About To Rock (We Salute You)', 0.99);");
    }
    return lines;
}

std::string ScriptOf(int count)
{
    const TStringList source = std::filesystem::exists(kChinook) ? SplitLines(ReadFileBytes(kChinook))
                                                                   : GeneratedScript();
    std::string script;
    for (int i = 0; i < count; ++i) {
        script += source[static_cast<size_t>(i) % source.size()];
        script += "\r\n";
    }
    return script;
}

void BenchScanning(const TStringList& lines)
{
    std::vector<TSqlToken> tokens;
    size_t tokenCount = 0;
    constexpr int kPasses = 10;
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < kPasses; ++pass) {
        TSqlScanState state = TSqlScanState::Normal;
        for (const std::string& line : lines) {
            state = ScanSqlLine(line, state, tokens);
            tokenCount += tokens.size();
        }
    }
    const double seconds = SecondsSince(start);
    std::printf("scan: %.0f lines/s (%zu lines x %d passes, %.1f tokens/line)\n",
                lines.size() * kPasses / seconds, lines.size(), kPasses,
                static_cast<double>(tokenCount) / (lines.size() * kPasses));
}

// Puts the caret at the end of the line and starts counting highlighting anew.
void TypeAtTheEndOf(TSqlEditor& editor, int line)
{
    QTextCursor cursor(editor.document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.setTextCursor(cursor);
    editor.setFocus();
    editor.Highlighter()->ResetHighlightedBlockCount();
}

void BenchEditor(const std::string& script)
{
    TSqlEditor editor;
    editor.resize(800, 600);
    editor.show();
    QApplication::processEvents();

    std::istringstream stream(script);
    auto start = std::chrono::steady_clock::now();
    editor.Highlighter()->ResetHighlightedBlockCount();
    editor.LoadFromStream(stream);
    const double loaded = SecondsSince(start);
    editor.viewport()->repaint();
    QApplication::processEvents();
    const double shown = SecondsSince(start);
    std::printf("load: %d lines loaded in %.3f s, first screen shown after %.3f s (%lld blocks highlighted)\n",
                editor.LineCount(), loaded, shown, editor.Highlighter()->HighlightedBlockCount());

    TypeAtTheEndOf(editor, editor.LineCount() - 10);
    constexpr int kKeys = 200;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeys; ++i)
        QTest::keyClick(&editor, Qt::Key_X);
    const double typed = SecondsSince(start);
    std::printf("typing near the end: %.2f highlightBlock calls per keystroke, %.3f ms per keystroke\n",
                static_cast<double>(editor.Highlighter()->HighlightedBlockCount()) / kKeys, typed * 1000 / kKeys);

    editor.Highlighter()->ResetHighlightedBlockCount();
    QTest::keyClicks(&editor, "/*");
    std::printf("typing /* ten lines before the end: %lld highlightBlock calls\n",
                editor.Highlighter()->HighlightedBlockCount());
}

// One line of 2.3 MB with national letters, as a pasted dump or a history
// entry can be: showing it, and typing into it.
void BenchLongLine()
{
    std::string line;
    while (line.size() < 2300000)
        line += "INSERT INTO [Track] ([TrackId], [Name]) VALUES (1, N'Кино: Группа крови'); -- x ";
    TSqlEditor editor;
    editor.resize(800, 600);
    editor.show();
    QApplication::processEvents();

    editor.Highlighter()->ResetHighlightedBlockCount();
    auto start = std::chrono::steady_clock::now();
    editor.SetText(line);
    editor.viewport()->repaint();
    QApplication::processEvents();
    std::printf("long line: %zu bytes shown in %.3f s (%lld blocks highlighted)\n", line.size(),
                SecondsSince(start), editor.Highlighter()->HighlightedBlockCount());

    TypeAtTheEndOf(editor, 0);
    constexpr int kKeys = 20;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeys; ++i) {
        QTest::keyClick(&editor, Qt::Key_X);
        editor.viewport()->repaint();
    }
    const double typed = SecondsSince(start);
    std::printf("typing at the end of the long line: %.3f ms per keystroke, %.2f highlightBlock calls per keystroke\n",
                typed * 1000 / kKeys, static_cast<double>(editor.Highlighter()->HighlightedBlockCount()) / kKeys);
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const std::string script = ScriptOf(kLines);
    std::printf("script: %d lines, %zu bytes (%s)\n", kLines, script.size(),
                std::filesystem::exists(kChinook) ? "Chinook repeated" : "generated");
    BenchScanning(SplitLines(script));
    BenchEditor(script);
    BenchLongLine();
    return 0;
}
