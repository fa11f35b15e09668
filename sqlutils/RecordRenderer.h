#pragma once
// RenderRecord prepared once for a run over many records: the names are split
// and the fields looked up when the renderer is made (and again on Rebind),
// not for every record. Renders exactly what RenderRecord renders.

#include "FieldLists.h"

#include <string>
#include <vector>

class TRecordRenderer {
public:
    TRecordRenderer(TDataSet& dataSet, const std::string& names, TRenderMode mode, bool comment);

    // Looks the fields up again; call it whenever the dataset may have been
    // closed or reopened since (fields are rebuilt then).
    void Rebind();

    // Appends the current record's rendering to the text.
    void AppendTo(std::string& out) const;
    std::string Render() const;

private:
    struct TColumn {
        std::string Written;  // the name as the names text gives it
        std::string Name;     // the same without double quotes
        std::string Comment;  // " /* NAME */" or empty
        TField* Field = nullptr;
    };

    TDataSet& dataSet_;
    TRenderMode mode_;
    bool everyField_;  // the names text was empty: every field, as SQL literals
    std::vector<TColumn> columns_;
};
