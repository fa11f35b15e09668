#include "Field.h"

#include "DataSet.h"
#include "FormatSettings.h"
#include "RowStore.h"
#include "ValueFormat.h"
#include "ValueParse.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

bool IsBinary(TFieldType type) { return type == ftBlob || type == ftBytes || type == ftVarBytes; }

// Types whose default text is the "(MEMO)" style description.
bool IsDescribed(TFieldType type) { return type == ftMemo || IsBinary(type); }

// A value that fits no rule of its field's type reads as it is stored.
void AppendStoredText(const TCell& cell, char decimalSeparator, std::string& out)
{
    switch (cell.Kind) {
    case TCellKind::Null:
        break;
    case TCellKind::Integer: {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, cell.Integer).ptr;
        out.append(digits, end);
        break;
    }
    case TCellKind::Float:
        out += FormatGeneral(cell.Float, 15, decimalSeparator);
        break;
    case TCellKind::Text:
    case TCellKind::Bytes:
        out += cell.Text;
        break;
    }
}

std::string StoredText(const TCell& cell)
{
    std::string text;
    AppendStoredText(cell, FormatSettings().DecimalSeparator, text);
    return text;
}

std::optional<bool> CellFlag(const TCell& cell)
{
    switch (cell.Kind) {
    case TCellKind::Integer: return cell.Integer != 0;
    case TCellKind::Float: return cell.Float != 0;
    case TCellKind::Text: return ParseBooleanText(cell.Text);
    default: return std::nullopt;
    }
}

std::optional<int64_t> CellBcd(const TCell& cell)
{
    switch (cell.Kind) {
    case TCellKind::Integer: return BcdFromInteger(cell.Integer);
    case TCellKind::Float: return BcdFromDouble(cell.Float);
    case TCellKind::Text: return ParseBcd(cell.Text);
    default: return std::nullopt;
    }
}

// Numbers and text that reads as a number but does not fit the fixed-point range.
bool BcdOverflows(const TCell& cell)
{
    if (cell.Kind == TCellKind::Integer || cell.Kind == TCellKind::Float)
        return !CellBcd(cell);
    if (cell.Kind != TCellKind::Text || ParseBcd(cell.Text))
        return false;
    bool outOfRange = false;
    return ParseDouble(cell.Text, &outOfRange) || outOfRange;
}

std::optional<double> CellDateTime(const TCell& cell)
{
    if (cell.Kind != TCellKind::Text)
        return std::nullopt;
    return ParseIsoDateTime(cell.Text);
}

// Day count 0: 30 December 1899, midnight.
bool IsZeroDate(const TDateTimeParts& t)
{
    return t.Year == 1899 && t.Month == 12 && t.Day == 30 && t.Hour == 0 && t.Minute == 0 && t.Second == 0 &&
           t.Msec == 0;
}

bool IsDateType(TFieldType type) { return type == ftDate || type == ftTime || type == ftDateTime; }

} // namespace

TField::TField(TDataSet& dataSet, int storeColumn, std::string name, TFieldType dataType, int size, int precision)
    : dataSet_(dataSet), storeColumn_(storeColumn), name_(std::move(name)), dataType_(dataType), size_(size),
      precision_(precision)
{
}

namespace {

TCell CurrentCell(const TDataSet& dataSet, int column)
{
    return dataSet.CurrentCell(column);
}

} // namespace

bool TField::ValueIsNull() const
{
    TCell cell = CurrentCell(dataSet_, storeColumn_);
    if (cell.Kind == TCellKind::Null)
        return true;
    // The zero date (30 December 1899, midnight) stands for no date.
    if ((dataType_ == ftDate || dataType_ == ftDateTime) && cell.Kind == TCellKind::Text) {
        const std::optional<TDateTimeParts> parts = ParseIsoDateTimeParts(cell.Text);
        return parts && IsZeroDate(*parts);
    }
    return false;
}

std::string TField::ValueText() const
{
    std::string text;
    AppendValueText(text);
    return text;
}

void TField::AppendValueText(std::string& out) const
{
    AppendValueText(out, FormatSettings().DecimalSeparator);
}

void TField::AppendValueText(std::string& out, char decimalSeparator) const
{
    const TCell cell = CurrentCell(dataSet_, storeColumn_);
    if (cell.Kind == TCellKind::Null)
        return;
    const TFormatSettings& settings = FormatSettings();
    switch (dataType_) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        if (cell.Kind == TCellKind::Text || cell.Kind == TCellKind::Bytes) {
            out += cell.Text.substr(0, cell.Text.find('\0'));
            return;
        }
        break;
    case ftBCD:
        if (std::optional<int64_t> value = CellBcd(cell)) {
            AppendBcd(*value, decimalSeparator, out);
            return;
        }
        if (BcdOverflows(cell))
            throw std::runtime_error("Field '" + name_ + "': value out of range for BCD");
        break;
    case ftBoolean:
        if (std::optional<bool> flag = CellFlag(cell)) {
            out += *flag ? "True" : "False";
            return;
        }
        break;
    case ftDate:
    case ftTime:
    case ftDateTime:
        if (cell.Kind != TCellKind::Text)
            break;
        if (std::optional<TDateTimeParts> parts = ParseIsoDateTimeParts(cell.Text)) {
            if (dataType_ == ftTime)
                AppendDateTime(settings.LongTimeFormat, *parts, settings, out);
            else if (IsZeroDate(*parts))
                return;  // the zero date is null
            else if (dataType_ == ftDate)
                AppendDateTime(settings.ShortDateFormat, *parts, settings, out);
            else
                AppendDateTimeText(*parts, settings, out);
            return;
        }
        break;
    default:
        break;
    }
    AppendStoredText(cell, decimalSeparator, out);
}

bool TField::ValueFlag() const
{
    if (dataType_ != ftBoolean)
        throw std::runtime_error("Cannot access field '" + name_ + "' as type Boolean");
    if (ValueIsNull())
        return false;
    const TCell cell = CurrentCell(dataSet_, storeColumn_);
    if (std::optional<bool> flag = CellFlag(cell))
        return *flag;
    throw std::runtime_error("'" + StoredText(cell) + "' is not a valid boolean value");
}

std::string TField::DefaultText() const
{
    std::string text;
    AppendDefaultText(text);
    return text;
}

void TField::AppendDefaultText(std::string& out) const
{
    if (IsDescribed(dataType_)) {
        std::string name = FieldTypeDisplayName(dataType_);
        if (!ValueIsNull())
            for (char& c : name)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        out += '(';
        out += name;
        out += ')';
        return;
    }
    if (dataType_ == ftBCD) {
        const TCell cell = CurrentCell(dataSet_, storeColumn_);
        if (cell.Kind == TCellKind::Null)
            return;
        if (std::optional<int64_t> value = CellBcd(cell))
            AppendBcd(*value, FormatSettings().DecimalSeparator, out);
        else if (BcdOverflows(cell))
            out += "(Overflow)";
        else
            AppendStoredText(cell, FormatSettings().DecimalSeparator, out);
        return;
    }
    AppendValueText(out);
}

// The handler starts from the default text, so it may amend it or replace it.
std::string TField::HandlerText(bool displayText) const
{
    std::string text = DefaultText();
    onGetText_(*this, text, displayText);
    return text;
}

std::string TField::FieldText() const
{
    return onGetText_ ? HandlerText(false) : DefaultText();
}

void TField::AppendFieldText(std::string& out) const
{
    if (onGetText_)
        out += HandlerText(false);
    else
        AppendDefaultText(out);
}

std::string TField::DisplayText() const
{
    return onGetText_ ? HandlerText(true) : DefaultText();
}

TCellKind TField::ValueKind() const
{
    return CurrentCell(dataSet_, storeColumn_).Kind;
}

std::string_view TField::ValueBytes() const
{
    const TCell cell = CurrentCell(dataSet_, storeColumn_);
    return cell.Kind == TCellKind::Text || cell.Kind == TCellKind::Bytes ? cell.Text : std::string_view();
}

std::optional<int64_t> TField::ValueInteger() const
{
    const TCell cell = CurrentCell(dataSet_, storeColumn_);
    switch (cell.Kind) {
    case TCellKind::Integer:
        return cell.Integer;
    case TCellKind::Float:
        if (std::trunc(cell.Float) == cell.Float && std::fabs(cell.Float) < 9.2e18)
            return static_cast<int64_t>(cell.Float);
        return std::nullopt;
    case TCellKind::Text: {
        std::string text(cell.Text);
        char* end = nullptr;
        errno = 0;
        long long value = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || errno == ERANGE)
            return std::nullopt;
        return value;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> TField::ValueFloat() const
{
    const TCell cell = CurrentCell(dataSet_, storeColumn_);
    switch (cell.Kind) {
    case TCellKind::Integer:
        return static_cast<double>(cell.Integer);
    case TCellKind::Float:
        return cell.Float;
    case TCellKind::Text:
        return ParseDouble(cell.Text);
    default:
        return std::nullopt;
    }
}

std::optional<int64_t> TField::ValueBcd() const
{
    return CellBcd(CurrentCell(dataSet_, storeColumn_));
}

std::optional<double> TField::ValueDateTime() const
{
    if (ValueIsNull() || !IsDateType(dataType_))
        return std::nullopt;
    return CellDateTime(CurrentCell(dataSet_, storeColumn_));
}
