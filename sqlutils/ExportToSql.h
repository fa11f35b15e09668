#pragma once
// INSERT scripts from the records of a dataset: one statement per line and per
// record, "INSERT INTO <table> (<columns>) VALUES (<values>);". TExportToSQL
// makes a whole script and writes it to a file; AppendInsertStatements adds
// one page of records to a list that grows over several calls.

#include "RecordLoop.h"
#include "TextLines.h"

#include <functional>
#include <string>

class TDataSet;

class TExportToSQL {
public:
    using TLineSink = std::function<void(const std::string& line)>;

    explicit TExportToSQL(TDataSet& dataSet);

    TDataSet* DataSet;                    // not owned
    // Carried from the callers' settings (task files set it); the script does
    // not depend on it.
    bool PutDeleteBeforeInserts = false;
    bool FromFirst = true;                // false: start at the current record
    std::string TableName;                // empty: taken from the command text by Generate
    std::string QuoteChar;                // around column names; "[" is closed by "]"
    TCaptionSetter ProgressControl;       // "Record %d" after each record; may be empty
    TMessagePump ProcessMessages;         // every 100 records; may be empty
    TStringList ScriptLines;
    bool CommentValues = false;           // " /* NAME */" after every value

    void SetQuoteChar(const std::string& value);

    // Fills ScriptLines with the script. Leaves the dataset at its end of data.
    void Generate();

    // Generate, then write ScriptLines to the file (CR LF after every line),
    // replacing it whole; a failed run writes nothing.
    void SaveToFile(const std::string& fileName);
    // The file SaveToFile writes, with each statement streamed into it as it
    // is made instead of kept: ScriptLines stays empty, so a long result
    // costs no memory for its script.
    void StreamToFile(const std::string& fileName);

private:
    // Hands the script's lines, in order, to the sink.
    void ForEachScriptLine(const TLineSink& sink);
};

// Appends one INSERT statement per record, from the first record or the
// current one, to the list. The table name is used as given; values carry no
// comments.
void AppendInsertStatements(TDataSet& dataSet, const std::string& tableName, TStringList& list,
                            const std::string& quote, bool fromFirst,
                            const TCaptionSetter& progressControl = {},
                            const TMessagePump& processMessages = {});
