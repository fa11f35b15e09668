#include "CodePage.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <iconv.h>
#include <langinfo.h>
#include <stdexcept>

namespace {

// Owns one iconv conversion descriptor.
class TIconv {
public:
    TIconv(const char* from, const char* to) : cd_(iconv_open(to, from))
    {
        // A bad unit of a 16-bit encoding (an unpaired surrogate) is skipped
        // whole, so that the conversion stays in step with the units after it.
        if (std::string_view(from).starts_with("UTF-16"))
            unit_ = 2;
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("Unsupported code page conversion from ") + from + " to " + to);
        // '?' as the target code page writes it (two bytes in UTF-16).
        replacement_ = std::string(1, '?');
        if (std::string_view(to).starts_with("UTF-16"))
            replacement_.push_back('\0');
    }
    ~TIconv() { iconv_close(cd_); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Converts the bytes; an input sequence that cannot be converted becomes
    // the replacement bytes and the scan goes on after one input unit.
    std::string Run(std::string_view in)
    {
        const std::string& replacement = replacement_;
        std::string out;
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t used = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            size_t dstLeft = out.size() - used;
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            used = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else {  // EILSEQ or EINVAL: an unconvertible or cut-off sequence
                out.replace(used, 0, replacement);
                used += replacement.size();
                if (out.size() < used + 16)
                    out.resize(out.size() * 2);
                const size_t skipped = std::min(unit_, srcLeft);
                src += skipped;
                srcLeft -= skipped;
            }
        }
        out.resize(used);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return out;
    }

private:
    iconv_t cd_;
    std::string replacement_;
    size_t unit_ = 1;  // bytes per input unit
};

std::string DetectProgramCodePage()
{
    std::setlocale(LC_CTYPE, "");
    std::string name = nl_langinfo(CODESET);
    if (name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII")
        return "UTF-8";
    return name;
}

std::u16string BytesToU16(const std::string& bytes)
{
    std::u16string result(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i])
                                          | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return result;
}

std::string U16ToBytes(std::u16string_view text)
{
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

} // namespace

namespace CodePage {

const std::string& ProgramName()
{
    static const std::string name = DetectProgramCodePage();
    return name;
}

bool ProgramIsUtf8()
{
    static const bool utf8 = ProgramName() == "UTF-8" || ProgramName() == "utf8";
    return utf8;
}

std::string Convert(std::string_view text, const char* from, const char* to)
{
    TIconv cd(from, to);
    return cd.Run(text);
}

std::string FromUtf8(std::string_view utf8)
{
    if (ProgramIsUtf8())
        return std::string(utf8);
    return Convert(utf8, "UTF-8", ProgramName().c_str());
}

std::string ToUtf8(std::string_view text)
{
    if (ProgramIsUtf8())
        return std::string(text);
    return Convert(text, ProgramName().c_str(), "UTF-8");
}

std::string FromUtf16(std::u16string_view utf16)
{
    return Convert(U16ToBytes(utf16), "UTF-16LE", ProgramName().c_str());
}

std::u16string ToUtf16(std::string_view text)
{
    TIconv cd(ProgramName().c_str(), "UTF-16LE");
    return BytesToU16(cd.Run(text));
}

} // namespace CodePage
