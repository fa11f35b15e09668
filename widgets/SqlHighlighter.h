#pragma once
// Draws SQL in the editor: reserved words bold, comments italic, the rest in
// the editor's regular font, all in one colour. Each block keeps the state its
// successor starts in, so a change re-highlights only the blocks whose start
// state changed.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <string>
#include <vector>

#include "SqlScanner.h"

class TSqlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit TSqlHighlighter(QTextDocument* document);

    // Longer lines are drawn plain and pass their start state on: scanning
    // them at every keystroke would stall the editor.
    static constexpr int kMaxHighlightedLineLength = 100000;

    // How often highlightBlock ran since the last reset: the measure of how
    // much an edit re-highlights.
    long long HighlightedBlockCount() const { return highlightedBlocks_; }
    void ResetHighlightedBlockCount() { highlightedBlocks_ = 0; }

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat reservedWordFormat_;
    QTextCharFormat commentFormat_;
    std::string bytes_;  // the block's line, kept to spare an allocation per block
    std::vector<TSqlToken> tokens_;
    std::vector<int> charAtByte_;
    long long highlightedBlocks_ = 0;
};
