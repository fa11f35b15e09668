#include "SqlScanner.h"

#include <array>

#include "CodePage.h"

namespace {

enum TCharClass : std::uint8_t {
    kSymbolChar,
    kLetter,       // A-Z, a-z, _ : starts a word
    kDigit,
    kWordOther,    // # and $ : inside a word only
    kSpace,        // control characters but CR and LF, and the blank
    kLineBreak,    // CR, LF
    kUnknownChar,  // \, backquote, DEL, 128..255 (and # $ outside a word)
    kQuote,
    kDoubleQuote,
};

constexpr std::array<TCharClass, 256> MakeClasses()
{
    std::array<TCharClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        TCharClass cls = kSymbolChar;
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
            cls = kLetter;
        else if (c >= '0' && c <= '9')
            cls = kDigit;
        else if (c == '#' || c == '$')
            cls = kWordOther;
        else if (c == '\r' || c == '\n')
            cls = kLineBreak;
        else if (c <= ' ')
            cls = kSpace;
        else if (c == '\\' || c == '`' || c >= 127)
            cls = kUnknownChar;
        else if (c == '\'')
            cls = kQuote;
        else if (c == '"')
            cls = kDoubleQuote;
        classes[c] = cls;
    }
    return classes;
}

constexpr std::array<TCharClass, 256> kClasses = MakeClasses();

TCharClass ClassOf(char c)
{
    return kClasses[static_cast<unsigned char>(c)];
}

bool IsWordChar(char c)
{
    const TCharClass cls = ClassOf(c);
    return cls == kLetter || cls == kDigit || cls == kWordOther;
}

// Scans one line; `pos` walks the line, every Emit adds the token [start, pos).
class TLineScanner {
public:
    TLineScanner(std::string_view line, std::vector<TSqlToken>& out) : line_(line), out_(out) {}

    TSqlScanState Run(TSqlScanState state)
    {
        if (state == TSqlScanState::BlockComment && !line_.empty())
            state = BlockCommentRest(TSqlTokenKind::Comment);
        else if (state == TSqlScanState::String && !line_.empty())
            state = StringRest();
        while (pos_ < line_.size() && state == TSqlScanState::Normal)
            state = Token();
        return state;
    }

private:
    TSqlScanState Token()
    {
        const size_t start = pos_;
        const char c = line_[pos_];
        switch (ClassOf(c)) {
        case kLetter:
            while (++pos_ < line_.size() && IsWordChar(line_[pos_])) {
            }
            Emit(IsSqlReservedWord(line_.substr(start, pos_ - start)) ? TSqlTokenKind::ReservedWord
                                                                       : TSqlTokenKind::Identifier,
                 start);
            return TSqlScanState::Normal;
        case kDigit:
            Number();
            return TSqlScanState::Normal;
        case kQuote:
            ++pos_;
            return StringRest(start);
        case kDoubleQuote:
            DelimitedIdentifier();
            return TSqlScanState::Normal;
        case kSpace:
            while (++pos_ < line_.size() && ClassOf(line_[pos_]) == kSpace) {
            }
            Emit(TSqlTokenKind::Space, start);
            return TSqlScanState::Normal;
        case kLineBreak:
            pos_ += c == '\r' && Next(1) == '\n' ? 2 : 1;
            Emit(TSqlTokenKind::Space, start);
            return TSqlScanState::Normal;
        case kWordOther:
        case kUnknownChar:
            pos_ += CharacterLength();
            Emit(TSqlTokenKind::Unknown, start);
            return TSqlScanState::Normal;
        case kSymbolChar:
            break;
        }
        if (c == '-' && Next(1) == '-') {
            pos_ = line_.size();
            Emit(TSqlTokenKind::Comment, start);
            return TSqlScanState::Normal;
        }
        if (c == '/' && Next(1) == '*') {
            pos_ += 2;
            return BlockCommentRest(TSqlTokenKind::Comment, start);
        }
        if (c == '@') {
            while (++pos_ < line_.size() && IsWordChar(line_[pos_])) {
            }
            Emit(TSqlTokenKind::Variable, start);
            return TSqlScanState::Normal;
        }
        pos_ += SymbolLength();
        Emit(TSqlTokenKind::Symbol, start);
        return TSqlScanState::Normal;
    }

    // Digits, "." and "-"; a "." that starts ".." ends the number.
    void Number()
    {
        const size_t start = pos_;
        while (++pos_ < line_.size()) {
            const char c = line_[pos_];
            if (c == '.' ? Next(1) == '.' : !(ClassOf(c) == kDigit || c == '-'))
                break;
        }
        Emit(TSqlTokenKind::Number, start);
    }

    void DelimitedIdentifier()
    {
        const size_t start = pos_++;
        while (pos_ < line_.size()) {
            if (line_[pos_] == '"') {
                if (Next(1) != '"') {
                    ++pos_;
                    break;
                }
                pos_ += 2;
            } else {
                ++pos_;
            }
        }
        Emit(TSqlTokenKind::DelimitedIdentifier, start);
    }

    TSqlScanState BlockCommentRest(TSqlTokenKind kind, size_t start = 0)
    {
        const size_t close = line_.find("*/", pos_);
        pos_ = close == std::string_view::npos ? line_.size() : close + 2;
        Emit(kind, start);
        return close == std::string_view::npos ? TSqlScanState::BlockComment : TSqlScanState::Normal;
    }

    TSqlScanState StringRest(size_t start = 0)
    {
        const size_t close = line_.find('\'', pos_);
        pos_ = close == std::string_view::npos ? line_.size() : close + 1;
        Emit(TSqlTokenKind::String, start);
        return close == std::string_view::npos ? TSqlScanState::String : TSqlScanState::Normal;
    }

    // Operators of two or three characters are one symbol.
    size_t SymbolLength() const
    {
        static constexpr std::string_view kCompound[] = {"<=>", "<>", "<=", ">=", "!=", "!<",
                                                         "!>", "||", ":=", "=>", "::"};
        const std::string_view rest = line_.substr(pos_);
        for (const std::string_view op : kCompound)
            if (rest.starts_with(op))
                return op.size();
        return 1;
    }

    // With a UTF-8 code page a character is its whole byte sequence.
    size_t CharacterLength() const
    {
        static const bool utf8 = CodePage::ProgramIsUtf8();
        const auto lead = static_cast<unsigned char>(line_[pos_]);
        if (!utf8 || lead < 0xC2 || lead > 0xF4)
            return 1;
        const size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (pos_ + length > line_.size())
            return 1;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(line_[pos_ + k]) & 0xC0) != 0x80)
                return 1;
        return length;
    }

    char Next(size_t offset) const
    {
        return pos_ + offset < line_.size() ? line_[pos_ + offset] : '\0';
    }

    void Emit(TSqlTokenKind kind, size_t start)
    {
        out_.push_back({kind, static_cast<int>(start), static_cast<int>(pos_ - start)});
    }

    std::string_view line_;
    std::vector<TSqlToken>& out_;
    size_t pos_ = 0;
};

} // namespace

TSqlScanState ScanSqlLine(std::string_view line, TSqlScanState start, std::vector<TSqlToken>& out)
{
    out.clear();
    return TLineScanner(line, out).Run(start);
}
