#pragma once
// The field type vocabulary of datasets, and how provider column types map onto it.

#include <optional>

enum TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat,
    ftCurrency, ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes,
    ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle,
    ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT,
    ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
    ftInterface, ftIDispatch, ftGuid,
};

inline constexpr int FieldTypeCount = ftGuid + 1;

// "ftString" — what the field list prints.
const char* FieldTypeName(TFieldType type);
// "String" — used inside messages and blob descriptions.
const char* FieldTypeDisplayName(TFieldType type);
// The field type of a provider column type (a TAdoType code); empty when the
// column has no field type and is left out of the dataset.
std::optional<TFieldType> FieldTypeFromAdo(int adoType);
