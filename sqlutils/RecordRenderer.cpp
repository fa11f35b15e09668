#include "RecordRenderer.h"

#include "DataSet.h"
#include "DelimitedList.h"
#include "Field.h"

#include <algorithm>

TRecordRenderer::TRecordRenderer(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment)
    : mode_(mode), bytes_(ByteLiteralOf(dataSet))
{
    TDelimitedList list;
    list.Delimiter = ',';
    list.Split(names);
    if (list.empty()) {
        everyField_ = true;
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            columns_.push_back({&dataSet.Fields(i), {}});
        return;
    }
    for (const std::string& written : list) {
        std::string name = written;
        name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
        // As written first, so that a field whose own name holds a double
        // quote keeps its value; then without its double quotes.
        TField* field = dataSet.FindField(written);
        if (!field)
            field = dataSet.FindField(name);
        columns_.push_back({field, comment ? ValueComment(name) : std::string()});
    }
}

TRecordRenderer::TRecordRenderer(TDataSet& dataSet, TRenderMode mode, bool comment)
    : mode_(mode), bytes_(ByteLiteralOf(dataSet))
{
    // Fields follow their definitions in order; a hidden row identifier has
    // a definition but no field.
    int fieldIndex = 0;
    for (int i = 0; i < dataSet.FieldDefCount(); ++i) {
        const TFieldDef& def = dataSet.FieldDefs(i);
        TField* field = def.Hidden ? nullptr : &dataSet.Fields(fieldIndex++);
        std::string name = UpperCaseFieldName(def.Name);
        name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
        columns_.push_back({field, comment ? ValueComment(name) : std::string()});
    }
}

void TRecordRenderer::AppendTo(std::string& out) const
{
    const size_t start = out.size();
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) {
            if (mode_ == rmSqlValues)
                out += ", ";
            else
                out += '|';
        }
        const TColumn& column = columns_[i];
        if (!column.Field) {
            if (mode_ == rmSqlValues)
                out += "null";
        } else if (mode_ == rmSqlValues || everyField_) {
            AppendSqlLiteral(*column.Field, bytes_, out);
        } else {
            AppendTextValue(*column.Field, out);
        }
        out += column.Comment;
    }
    if (columns_.size() == 1 && out.size() == start)
        out += "\"\"";
}

std::string TRecordRenderer::Render() const
{
    std::string text;
    AppendTo(text);
    return text;
}
