#pragma once
// One field of an open dataset: its definition and the current record's value.

#include "FieldTypes.h"
#include "RowStore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TDataSet;

class TField {
public:
    using TGetTextHandler = std::function<void(const TField& sender, std::string& text, bool displayText)>;

    TField(TDataSet& dataSet, int storeColumn, std::string name, TFieldType dataType, int size, int precision);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& FieldName() const { return name_; }
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }
    int Precision() const { return precision_; }
    TDataSet& DataSet() const { return dataSet_; }

    bool ValueIsNull() const;
    // The value as text by the type's default text rules. A value that does not
    // fit the field's type (text in an integer column) reads as it is stored.
    std::string ValueText() const;
    void AppendValueText(std::string& out) const;
    // The same with the given decimal separator in place of the settings'
    // one: SQL reads its numbers with ".".
    void AppendValueText(std::string& out, char decimalSeparator) const;
    // ftBoolean only; else "Cannot access field '%s' as type Boolean".
    bool ValueFlag() const;
    // The OnGetText handler's text (called with the default text filled in,
    // displayText false / true), or the default text without a handler.
    std::string FieldText() const;
    void AppendFieldText(std::string& out) const;
    std::string DisplayText() const;
    // How the current value is stored (a dynamically typed database may hold
    // any kind of value in any column).
    TCellKind ValueKind() const;
    // Raw bytes of a text or binary value (empty for other values).
    std::string_view ValueBytes() const;

    // Typed reads of the stored value, empty when null or not convertible.
    std::optional<int64_t> ValueInteger() const;
    std::optional<double> ValueFloat() const;
    std::optional<int64_t> ValueBcd() const;       // scaled by BcdScale
    std::optional<double> ValueDateTime() const;   // day count

    // Sets the current record's value (starting an edit): from the text the
    // user typed, read by the field's type and the format settings (an empty
    // text clears any but a character value; an invalid text fails with
    // "'%s' is not a valid integer value" and its kin), as a flag, or null.
    void SetText(const std::string& text);
    void SetFlag(bool value);
    void Clear();

    void SetOnGetText(TGetTextHandler handler) { onGetText_ = std::move(handler); }
    const TGetTextHandler& OnGetText() const { return onGetText_; }

private:
    std::string DefaultText() const;
    void AppendDefaultText(std::string& out) const;
    std::string HandlerText(bool displayText) const;

    TDataSet& dataSet_;
    int storeColumn_;
    std::string name_;
    TFieldType dataType_;
    int size_;
    int precision_;
    TGetTextHandler onGetText_;
};
