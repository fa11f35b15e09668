#include "OdbcValueText.h"

namespace {

const char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& text, unsigned long value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += kHex[(value >> shift) & 0xF];
}

} // namespace

std::string OdbcGuidText(const SQLGUID& value)
{
    std::string text = "{";
    AppendHex(text, value.Data1, 8);
    text += '-';
    AppendHex(text, value.Data2, 4);
    text += '-';
    AppendHex(text, value.Data3, 4);
    text += '-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += '-';
        AppendHex(text, value.Data4[i], 2);
    }
    return text + "}";
}
