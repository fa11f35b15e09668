#include "CreateTable.h"

#include "DataSet.h"
#include "Field.h"
#include "FieldTypes.h"

namespace {

std::string ColumnType(const TField& field)
{
    switch (field.DataType()) {
    case ftString: case ftWideString:
        return "VARCHAR(" + std::to_string(field.Size()) + ")";
    case ftBoolean:
        return "SMALLINT";
    case ftBCD:
        if (field.Size() == 0)
            return "INTEGER";
        return "NUMERIC(" + std::to_string(field.Precision()) + "," + std::to_string(field.Size()) + ")";
    case ftDate: case ftDateTime:
        return "DATE";
    default:
        return "?";
    }
}

} // namespace

void BuildCreateTable(TDataSet& dataSet, const std::string& tableName, TStringList& lines)
{
    lines.clear();
    lines.push_back("CREATE TABLE " + tableName);
    const int count = dataSet.FieldCount();
    for (int i = 0; i < count; ++i) {
        const TField& field = dataSet.Fields(i);
        lines.push_back(std::string(i == 0 ? "(" : " ") + field.FieldName() + " \t" + ColumnType(field)
                        + (i + 1 < count ? ", " : ")"));
    }
}
