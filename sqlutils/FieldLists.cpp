#include "FieldLists.h"

#include "CodePage.h"
#include "Connection.h"
#include "DataSet.h"
#include "Field.h"
#include "FieldTypes.h"
#include "RecordRenderer.h"
#include "Words.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>

namespace {

// Upper case over the full Unicode range, independent of the process locale
// (the process locale's rules where C.UTF-8 is missing).
wint_t UpperCase(wint_t c)
{
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return unicode ? towupper_l(c, unicode) : towupper(c);
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlankChar(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankChar(text.back()))
        text.remove_suffix(1);
    return text;
}

// Appends the text between single quotes, inner single quotes doubled.
void AppendQuoted(std::string_view text, std::string& out)
{
    out += '\'';
    for (size_t quote; (quote = text.find('\'')) != std::string_view::npos;) {
        out.append(text.substr(0, quote + 1));
        out += '\'';
        text.remove_prefix(quote + 1);
    }
    out.append(text);
    out += '\'';
}

void AppendByteLiteral(std::string_view bytes, TByteLiteral form, std::string& out)
{
    static const char digits[] = "0123456789ABCDEF";
    switch (form) {
    case TByteLiteral::HexString: out += "X'"; break;
    case TByteLiteral::ByteaHex: out += "'\\x"; break;
    case TByteLiteral::HexNumber: out += "0x"; break;
    }
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    if (form != TByteLiteral::HexNumber)
        out += '\'';
}

// The text of a number: [-]digits[.digits][E[-]digits], or the infinite
// and not-a-number texts of a float.
bool IsNumberText(std::string_view text)
{
    if (text == "INF" || text == "-INF" || text == "NAN" || text == "-NAN")
        return true;
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i > start;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    if (!digits())
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < text.size() && text[i] == 'E') {
        ++i;
        if (i < text.size() && text[i] == '-')
            ++i;
        if (!digits())
            return false;
    }
    return i == text.size();
}

// The text of a string, memo or wide-string field: what its text handler
// returns when it has one (the result page's code page conversion), else the
// value itself. A memo's default text is its "(MEMO)" placeholder, which
// would take the value's place in a script or a text file.
void AppendStringFieldText(const TField& field, std::string& out)
{
    if (field.OnGetText())
        field.AppendFieldText(out);
    else
        field.AppendValueText(out);
}

// AppendQuoted over what was appended to the text from start on, trimmed
// first when asked; without inner quotes, the common case, it is quoted where
// it stands.
void QuoteAppended(std::string& out, size_t start, bool trim)
{
    std::string_view text = std::string_view(out).substr(start);
    if (trim)
        text = Trimmed(text);
    if (text.find('\'') != std::string_view::npos) {
        const std::string value(text);
        out.resize(start);
        AppendQuoted(value, out);
        return;
    }
    const size_t offset = static_cast<size_t>(text.data() - out.data());
    out.resize(offset + text.size());
    out.erase(start, offset - start);
    out.insert(start, 1, '\'');
    out += '\'';
}

} // namespace

std::string UpperCaseFieldName(std::string_view name)
{
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        std::string result(name);
        for (char& c : result)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return result;
    }
    std::u16string wide = CodePage::ToUtf16(name);
    for (char16_t& c : wide)
        c = static_cast<char16_t>(UpperCase(c));
    return CodePage::FromUtf16(wide);
}

TByteLiteral ByteLiteralFor(std::string_view dbmsName)
{
    auto names = [&](std::string_view product) { return dbmsName.find(product) != std::string_view::npos; };
    if (names("PostgreSQL"))
        return TByteLiteral::ByteaHex;
    if (names("SQL Server") || names("Adaptive Server") || names("Sybase"))
        return TByteLiteral::HexNumber;
    return TByteLiteral::HexString;
}

TByteLiteral ByteLiteralOf(TDataSet& dataSet)
{
    TConnection& connection = dataSet.Connection();
    return connection.Connected() ? ByteLiteralFor(connection.DbmsName()) : TByteLiteral::HexString;
}

std::string ValueComment(std::string_view name)
{
    std::string comment = " /* ";
    for (char c : name) {
        // "*/" would end the comment, "/*" open a nested one where comments nest.
        if ((c == '/' && comment.back() == '*') || (c == '*' && comment.back() == '/'))
            comment += ' ';
        comment += c;
    }
    comment += " */";
    return comment;
}

std::string FieldNameList(TDataSet& dataSet, const std::string& quote)
{
    const std::string closing = quote == "[" ? "]" : quote;
    std::string list;
    const int count = dataSet.FieldDefCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            list += ", ";
        std::string name = UpperCaseFieldName(dataSet.FieldDefs(i).Name);
        if (quote.empty()) {
            list += name;
            continue;
        }
        list += quote;
        for (size_t at = 0; (at = name.find(closing, at)) != std::string::npos; at += 2 * closing.size())
            name.insert(at, closing);
        list += name;
        list += closing;
    }
    return list;
}

std::string RenderRecord(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment)
{
    return TRecordRenderer(dataSet, names, mode, comment).Render();
}

void AppendSqlLiteral(const TField& field, std::string& out)
{
    AppendSqlLiteral(field, ByteLiteralOf(field.DataSet()), out);
}

void AppendSqlLiteral(const TField& field, TByteLiteral bytes, std::string& out)
{
    if (field.ValueIsNull()) {
        out += "null";
        return;
    }
    const size_t start = out.size();
    switch (field.DataType()) {
    case ftString: case ftMemo: case ftWideString:
        AppendStringFieldText(field, out);
        QuoteAppended(out, start, true);
        return;
    case ftBoolean:
        out += field.ValueFlag() ? '1' : '0';
        return;
    case ftDate: case ftDateTime: case ftTime: case ftGuid:
        field.AppendValueText(out);
        QuoteAppended(out, start, true);
        return;
    case ftBytes: case ftVarBytes: case ftBlob:
        // A byte column of a dynamically typed database may hold a number
        // (written bare below) or a text.
        if (field.ValueKind() == TCellKind::Bytes) {
            AppendByteLiteral(field.ValueBytes(), bytes, out);
            return;
        }
        if (field.ValueKind() == TCellKind::Text) {
            field.AppendValueText(out);
            QuoteAppended(out, start, false);
            return;
        }
        break;
    default:
        break;
    }
    // Numbers are written bare. Whatever else a column holds (text stored in
    // an INTEGER column of a dynamically typed database, a variant) stays
    // inside quotes, so that no value can end its literal early.
    field.AppendValueText(out, '.');
    if (!IsNumberText(std::string_view(out).substr(start)))
        QuoteAppended(out, start, false);
}

std::string SqlLiteral(const TField& field)
{
    std::string literal;
    AppendSqlLiteral(field, literal);
    return literal;
}

std::string TextValue(const TField& field)
{
    std::string text;
    AppendTextValue(field, text);
    return text;
}

void AppendTextValue(const TField& field, std::string& out)
{
    switch (field.DataType()) {
    case ftString: case ftMemo: case ftWideString:
        AppendStringFieldText(field, out);
        return;
    default:
        field.AppendFieldText(out);
        return;
    }
}
