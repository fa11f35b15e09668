#include "QtText.h"

#include "CodePage.h"

namespace {

// Lone low surrogates U+DC80..U+DCFF carry single bytes through QString.
constexpr char16_t kByteEscape = 0xDC00;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Characters a QTextDocument treats as block or frame structure.
bool IsStructural(char32_t code)
{
    return code == 0x2028 || code == 0x2029 || code == 0xFDD0 || code == 0xFDD1;
}

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 when
// the bytes there are not one (overlong forms and surrogates included).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& code)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    const size_t left = text.size() - i;
    if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && IsContinuation(byte(1))) {
        code = (lead & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && left >= 3 && IsContinuation(byte(1)) && IsContinuation(byte(2))) {
        code = (lead & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
        return code >= 0x800 && (code < 0xD800 || code > 0xDFFF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4 && left >= 4 && IsContinuation(byte(1)) && IsContinuation(byte(2))
        && IsContinuation(byte(3))) {
        code = (lead & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 | (byte(3) & 0x3Fu);
        return code >= 0x10000 && code <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

QString Utf8ToQString(std::string_view text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            result.append(QChar(lead));
            ++i;
            continue;
        }
        char32_t code = 0;
        const size_t length = DecodeUtf8(text, i, code);
        if (length == 0 || IsStructural(code)) {
            const size_t bytes = length == 0 ? 1 : length;
            for (size_t k = 0; k < bytes; ++k)
                result.append(QChar(kByteEscape + static_cast<unsigned char>(text[i + k])));
            i += bytes;
        } else if (code >= 0x10000) {
            result.append(QChar(QChar::highSurrogate(code)));
            result.append(QChar(QChar::lowSurrogate(code)));
            i += length;
        } else {
            result.append(QChar(static_cast<char16_t>(code)));
            i += length;
        }
    }
    return result;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string QStringToUtf8(const QString& text)
{
    std::string result;
    result.reserve(static_cast<size_t>(text.size()));
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80) {
            result.push_back(static_cast<char>(unit));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            AppendUtf8(result, QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()));
            ++i;
        } else if (unit >= kByteEscape + 0x80 && unit <= kByteEscape + 0xFF) {
            result.push_back(static_cast<char>(unit - kByteEscape));
        } else if (QChar::isSurrogate(unit)) {
            result.push_back('?');  // a lone surrogate that no byte string produces
        } else {
            AppendUtf8(result, unit);
        }
    }
    return result;
}

} // namespace

QString ToQString(std::string_view text)
{
    if (CodePage::ProgramIsUtf8())
        return Utf8ToQString(text);
    const std::u16string utf16 = CodePage::ToUtf16(text);
    return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

std::string FromQString(const QString& text)
{
    if (CodePage::ProgramIsUtf8())
        return QStringToUtf8(text);
    return CodePage::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                   static_cast<size_t>(text.size())));
}
