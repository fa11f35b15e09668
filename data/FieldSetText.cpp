// Field values set from text: the user's input, read by the field's type.

#include "Field.h"

#include "DataSet.h"
#include "FormatSettings.h"
#include "ValueFormat.h"
#include "ValueParse.h"

#include <limits>
#include <stdexcept>

namespace {

[[noreturn]] void NotValid(const std::string& text, const char* what)
{
    throw std::runtime_error("'" + text + "' is not a valid " + what);
}

TValue TextValue(std::string text, TCellKind kind = TCellKind::Text)
{
    TValue value;
    value.Kind = kind;
    value.Text = std::move(text);
    return value;
}

TValue IntegerValue(int64_t integer)
{
    TValue value;
    value.Kind = TCellKind::Integer;
    value.Integer = integer;
    return value;
}

bool IsCharacterType(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString || type == ftMemo || type == ftFmtMemo ||
           type == ftGuid;
}

// The range of the integer types narrower than 64 bits.
void CheckRange(const std::string& name, int64_t value, int64_t low, int64_t high)
{
    if (value < low || value > high)
        throw std::runtime_error(std::to_string(value) + " is not a valid value for field '" + name +
                                 "'. The allowed range is " + std::to_string(low) + " to " + std::to_string(high));
}

} // namespace

void TField::SetText(const std::string& text)
{
    if (text.empty() && !IsCharacterType(dataType_)) {
        Clear();
        return;
    }
    const TFormatSettings& settings = FormatSettings();
    TValue value;
    switch (dataType_) {
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint: {
        const std::optional<int64_t> integer = ParseIntegerText(text);
        if (!integer)
            NotValid(text, "integer value");
        if (dataType_ == ftSmallint)
            CheckRange(name_, *integer, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
        else if (dataType_ == ftWord)
            CheckRange(name_, *integer, 0, std::numeric_limits<uint16_t>::max());
        else if (dataType_ != ftLargeint)
            CheckRange(name_, *integer, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        value = IntegerValue(*integer);
        break;
    }
    case ftFloat:
    case ftCurrency: {
        const std::optional<double> number = ParseFloatText(text, settings);
        if (!number)
            NotValid(text, "floating point value");
        value.Kind = TCellKind::Float;
        value.Float = *number;
        break;
    }
    case ftBCD: {
        const std::optional<std::string> decimal = ParseDecimalText(text, settings);
        if (!decimal || !ParseBcd(*decimal))
            NotValid(text, "BCD value");
        value = TextValue(*decimal);
        break;
    }
    case ftBoolean: {
        const std::optional<bool> flag = ParseBooleanText(text);
        if (!flag)
            NotValid(text, "boolean value");
        value = IntegerValue(*flag ? 1 : 0);
        break;
    }
    case ftDate: {
        const std::optional<std::string> date = ParseDateText(text, settings);
        if (!date)
            NotValid(text, "date");
        value = TextValue(*date);
        break;
    }
    case ftTime: {
        const std::optional<std::string> time = ParseTimeText(text, settings);
        if (!time)
            NotValid(text, "time");
        value = TextValue(*time);
        break;
    }
    case ftDateTime: {
        const std::optional<std::string> dateTime = ParseDateTimeText(text, settings);
        if (!dateTime)
            NotValid(text, "date and time");
        value = TextValue(*dateTime);
        break;
    }
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
        value = TextValue(text, TCellKind::Bytes);
        break;
    default:
        value = TextValue(text);
        break;
    }
    dataSet_.SetCurrentValue(storeColumn_, std::move(value));
}

void TField::SetFlag(bool flag)
{
    if (dataType_ != ftBoolean)
        throw std::runtime_error("Cannot access field '" + name_ + "' as type Boolean");
    dataSet_.SetCurrentValue(storeColumn_, IntegerValue(flag ? 1 : 0));
}

void TField::Clear()
{
    dataSet_.SetCurrentValue(storeColumn_, TValue());
}
