#pragma once
// RenderRecord prepared once for a run over many records: the columns are
// worked out and their fields found when the renderer is made, not for every
// record.

#include "FieldLists.h"

#include <string>
#include <vector>

class TRecordRenderer {
public:
    // The columns of the comma-separated names, looked up as RenderRecord
    // does; renders exactly what RenderRecord renders.
    TRecordRenderer(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment);
    // Every column of the dataset's field definitions, each rendered from the
    // field in its position, as FieldNameList lists them; a hidden row
    // identifier, which has no field, renders as a name without a field does.
    TRecordRenderer(TDataSet& dataSet, TRenderMode mode, bool comment);

    // Appends the current record's rendering to the text.
    void AppendTo(std::string& out) const;
    std::string Render() const;

private:
    struct TColumn {
        TField* Field = nullptr;
        std::string Comment;  // " /* NAME */" or empty
    };

    TRenderMode mode_;
    bool everyField_ = false;  // the names text was empty: every field, as SQL literals
    TByteLiteral bytes_;
    std::vector<TColumn> columns_;
};
