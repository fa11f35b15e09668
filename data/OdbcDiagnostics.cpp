#include "OdbcDiagnostics.h"

#include "CodePage.h"

#include <sqlext.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>
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

std::string JoinDiagnosticRecords(const std::vector<std::string>& records)
{
    std::string text;
    std::vector<std::string_view> lines;
    for (const std::string& record : records) {
        std::string_view rest = record;
        while (!rest.empty()) {
            const size_t end = std::min(rest.find('\n'), rest.size());
            const std::string_view line = rest.substr(0, end);
            rest.remove_prefix(std::min(end + 1, rest.size()));
            if (line.empty() || std::find(lines.begin(), lines.end(), line) != lines.end())
                continue;
            lines.push_back(line);
            if (!text.empty())
                text += '\n';
            text += line;
        }
    }
    return text;
}

std::string OdbcDiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::vector<std::string> records;
    // An ample buffer from the first call on: psqlODBC cuts a long message
    // into records of the size first asked for, in the middle of a word.
    std::vector<SQLWCHAR> message(4096);
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        auto read = [&] {
            return SQLGetDiagRecW(handleType, handle, record, state, &nativeError, message.data(),
                                  static_cast<SQLSMALLINT>(message.size()), &length);
        };
        SQLRETURN rc = read();
        if (rc == SQL_SUCCESS_WITH_INFO && static_cast<size_t>(length) >= message.size()) {
            message.resize(std::min<size_t>(static_cast<size_t>(length) + 1, 32767));
            rc = read();
        }
        if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc))
            break;
        std::u16string utf16(reinterpret_cast<const char16_t*>(message.data()),
                             std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)), message.size() - 1));
        records.push_back(TrimProviderMessage(CodePage::FromUtf16(utf16)));
    }
    return JoinDiagnosticRecords(records);
}

void OdbcThrow(SQLSMALLINT handleType, SQLHANDLE handle, const char* fallback)
{
    std::string text = handle != SQL_NULL_HANDLE ? OdbcDiagnosticText(handleType, handle) : std::string();
    throw std::runtime_error(text.empty() ? std::string(fallback) : text);
}
