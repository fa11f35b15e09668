#include "OdbcDiagnostics.h"

#include "CodePage.h"

#include <sqlext.h>

#include <stdexcept>
#include <vector>

std::string TrimProviderMessage(std::string text)
{
    while (!text.empty()) {
        unsigned char last = static_cast<unsigned char>(text.back());
        if (last != ' ' && last != '.' && last >= 0x20 && last != 0x7f)
            break;
        text.pop_back();
    }
    return text;
}

std::string OdbcDiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &nativeError, nullptr, 0, &length);
        if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc))
            break;
        std::vector<SQLWCHAR> message(static_cast<size_t>(length) + 1);
        rc = SQLGetDiagRecW(handleType, handle, record, state, &nativeError, message.data(),
                            static_cast<SQLSMALLINT>(message.size()), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        std::u16string utf16(reinterpret_cast<const char16_t*>(message.data()),
                             std::min<size_t>(static_cast<size_t>(length), message.size() - 1));
        std::string line = TrimProviderMessage(CodePage::FromUtf16(utf16));
        if (line.empty())
            continue;
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

void OdbcThrow(SQLSMALLINT handleType, SQLHANDLE handle, const char* fallback)
{
    std::string text = handle != SQL_NULL_HANDLE ? OdbcDiagnosticText(handleType, handle) : std::string();
    throw std::runtime_error(text.empty() ? std::string(fallback) : text);
}
