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

bool IsAscii(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
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
    TSqlScanState end;
    if (IsAscii(text)) {
        const QByteArray bytes = text.toLatin1();
        end = ScanSqlLine(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), start, tokens_);
        charAtByte_.clear();
    } else {
        // Token positions are byte offsets of the 8-bit line; map them back
        // to the characters of the block.
        std::string bytes;
        charAtByte_.clear();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const std::string one = FromQString(text.mid(i, units));
            bytes += one;
            charAtByte_.insert(charAtByte_.end(), one.size(), static_cast<int>(i));
            i += units - 1;
        }
        charAtByte_.push_back(static_cast<int>(text.size()));
        end = ScanSqlLine(bytes, start, tokens_);
    }

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
