#include "SqlHighlighter.h"

#include "QtText.h"

namespace {

// The start state as a block state; -1 (no state yet) is the first block's.
TSqlScanState StateFromBlock(int blockState)
{
    switch (blockState) {
    case static_cast<int>(TSqlScanState::BlockComment):
        return TSqlScanState::BlockComment;
    case static_cast<int>(TSqlScanState::String):
        return TSqlScanState::String;
    default:
        return TSqlScanState::Normal;
    }
}

// Copies an all-ASCII text into `bytes`; false when the text holds other characters.
bool CopyAscii(const QString& text, std::string& bytes)
{
    bytes.resize(static_cast<size_t>(text.size()));
    const ushort* units = text.utf16();
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (units[i] >= 0x80)
            return false;
        bytes[i] = static_cast<char>(units[i]);
    }
    return true;
}

} // namespace

TSqlHighlighter::TSqlHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    reservedWordFormat_.setFontWeight(QFont::Bold);
    commentFormat_.setFontItalic(true);
}

void TSqlHighlighter::highlightBlock(const QString& text)
{
    ++highlightedBlocks_;
    const TSqlScanState start = StateFromBlock(previousBlockState());
    if (text.size() > kMaxHighlightedLineLength) {
        setCurrentBlockState(static_cast<int>(start));
        return;
    }
    charAtByte_.clear();
    if (!CopyAscii(text, bytes_)) {
        // Token positions are byte offsets of the 8-bit line; map them back
        // to the characters of the block.
        bytes_.clear();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const std::string one = FromQString(text.mid(i, units));
            bytes_ += one;
            charAtByte_.insert(charAtByte_.end(), one.size(), static_cast<int>(i));
            i += units - 1;
        }
        charAtByte_.push_back(static_cast<int>(text.size()));
    }
    const TSqlScanState end = ScanSqlLine(bytes_, start, tokens_);

    for (const TSqlToken& token : tokens_) {
        const QTextCharFormat* format = token.kind == TSqlTokenKind::ReservedWord ? &reservedWordFormat_
                                        : token.kind == TSqlTokenKind::Comment    ? &commentFormat_
                                                                                  : nullptr;
        if (!format)
            continue;
        if (charAtByte_.empty()) {
            setFormat(token.start, token.length, *format);
        } else {
            const int from = charAtByte_[static_cast<size_t>(token.start)];
            const int to = charAtByte_[static_cast<size_t>(token.start + token.length)];
            setFormat(from, to - from, *format);
        }
    }
    setCurrentBlockState(static_cast<int>(end));
}
