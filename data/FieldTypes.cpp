#include "FieldTypes.h"

#include "ProviderApi.h"

namespace {

struct TFieldTypeNames { const char* name; const char* display; };

constexpr TFieldTypeNames Names[FieldTypeCount] = {
    {"ftUnknown", "Unknown"}, {"ftString", "String"}, {"ftSmallint", "SmallInt"},
    {"ftInteger", "Integer"}, {"ftWord", "Word"}, {"ftBoolean", "Boolean"},
    {"ftFloat", "Float"}, {"ftCurrency", "Currency"}, {"ftBCD", "BCD"},
    {"ftDate", "Date"}, {"ftTime", "Time"}, {"ftDateTime", "DateTime"},
    {"ftBytes", "Bytes"}, {"ftVarBytes", "VarBytes"}, {"ftAutoInc", "AutoInc"},
    {"ftBlob", "Blob"}, {"ftMemo", "Memo"}, {"ftGraphic", "Graphic"},
    {"ftFmtMemo", "FmtMemo"}, {"ftParadoxOle", "ParadoxOle"}, {"ftDBaseOle", "dBaseOle"},
    {"ftTypedBinary", "TypedBinary"}, {"ftCursor", "Cursor"}, {"ftFixedChar", "FixedChar"},
    {"ftWideString", "WideString"}, {"ftLargeint", "LargeInt"}, {"ftADT", "ADT"},
    {"ftArray", "Array"}, {"ftReference", "Reference"}, {"ftDataSet", "DataSet"},
    {"ftOraBlob", "OraBlob"}, {"ftOraClob", "OraClob"}, {"ftVariant", "Variant"},
    {"ftInterface", "Interface"}, {"ftIDispatch", "Dispatch"}, {"ftGuid", "Guid"},
};

bool Valid(TFieldType type) { return type >= 0 && type < FieldTypeCount; }

} // namespace

const char* FieldTypeName(TFieldType type)
{
    return Valid(type) ? Names[type].name : "";
}

const char* FieldTypeDisplayName(TFieldType type)
{
    return Valid(type) ? Names[type].display : "";
}

std::optional<TFieldType> FieldTypeFromAdo(int adoType)
{
    switch (adoType) {
    case adVarChar: return ftString;
    case adChar: return ftFixedChar;
    case adBSTR: case adWChar: case adVarWChar: return ftWideString;
    case adLongVarChar: case adLongVarWChar: return ftMemo;
    case adBoolean: return ftBoolean;
    case adSmallInt: case adTinyInt: return ftSmallint;
    case adInteger: case adError: case adUnsignedInt: return ftInteger;
    case adUnsignedTinyInt: case adUnsignedSmallInt: return ftWord;
    case adBigInt: case adUnsignedBigInt: return ftLargeint;
    case adSingle: case adDouble: return ftFloat;
    case adCurrency: case adDecimal: case adNumeric: case adVarNumeric: return ftBCD;
    case adDBDate: return ftDate;
    case adDBTime: return ftTime;
    case adDate: case adFileTime: case adDBTimeStamp: case adDBFileTime: return ftDateTime;
    case adBinary: return ftBytes;
    case adVarBinary: return ftVarBytes;
    case adLongVarBinary: return ftBlob;
    case adGUID: return ftGuid;
    case adVariant: case adPropVariant: return ftVariant;
    case adIUnknown: return ftInterface;
    case adIDispatch: return ftIDispatch;
    case adChapter: return ftDataSet;
    default: return std::nullopt;
    }
}
