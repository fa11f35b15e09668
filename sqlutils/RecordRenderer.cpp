#include "RecordRenderer.h"

#include "DataSet.h"
#include "DelimitedList.h"
#include "Field.h"

#include <algorithm>

TRecordRenderer::TRecordRenderer(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment)
    : dataSet_(dataSet), mode_(mode)
{
    TDelimitedList list;
    list.Delimiter = ',';
    list.Split(names);
    everyField_ = list.empty();
    for (size_t i = 0; i < list.size(); ++i) {
        TColumn column;
        column.Written = list[i];
        column.Name = column.Written;
        column.Name.erase(std::remove(column.Name.begin(), column.Name.end(), '"'), column.Name.end());
        if (comment)
            column.Comment = " /* " + column.Name + " */";
        columns_.push_back(std::move(column));
    }
    Rebind();
}

void TRecordRenderer::Rebind()
{
    if (everyField_) {
        columns_.clear();
        for (int i = 0; i < dataSet_.FieldCount(); ++i)
            columns_.push_back(TColumn{{}, {}, {}, &dataSet_.Fields(i)});
        return;
    }
    // A name is looked up as written first, so that a field whose own name
    // holds a double quote keeps its value; then without its double quotes.
    for (TColumn& column : columns_) {
        column.Field = dataSet_.FindField(column.Written);
        if (!column.Field)
            column.Field = dataSet_.FindField(column.Name);
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
            AppendSqlLiteral(*column.Field, out);
        } else {
            AppendTextValue(*column.Field, out);
        }
        if (!column.Comment.empty())
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
