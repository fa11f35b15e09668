#include "RowWriteSql.h"

std::string QuotedIdentifier(const std::string& name, char quote)
{
    std::string quoted(1, quote);
    for (char c : name) {
        quoted += c;
        if (c == quote)
            quoted += c;
    }
    quoted += quote;
    return quoted;
}

TRowWriteStatement RowWriteStatement(const TRowWrite& write,
                                     const std::function<std::string(const std::string&)>& quoteIdentifier)
{
    TRowWriteStatement statement;
    std::string& sql = statement.Sql;
    const std::string table = quoteIdentifier(write.Table);
    auto appendWhere = [&] {
        sql += " WHERE ";
        for (size_t i = 0; i < write.Where.size(); ++i) {
            const TColumnValue& key = write.Where[i];
            if (i > 0)
                sql += " AND ";
            sql += quoteIdentifier(key.Column);
            if (key.Value.IsNull()) {
                sql += " IS NULL";
            } else {
                sql += " = ?";
                statement.Parameters.push_back(&key);
            }
        }
    };
    switch (write.Kind) {
    case TRowWriteKind::Update:
        sql = "UPDATE " + table + " SET ";
        for (size_t i = 0; i < write.Values.size(); ++i) {
            sql += (i > 0 ? ", " : "") + quoteIdentifier(write.Values[i].Column) + " = ?";
            statement.Parameters.push_back(&write.Values[i]);
        }
        appendWhere();
        break;
    case TRowWriteKind::Delete:
        sql = "DELETE FROM " + table;
        appendWhere();
        break;
    case TRowWriteKind::Insert: {
        if (write.Values.empty()) {
            sql = "INSERT INTO " + table + " DEFAULT VALUES";
            break;
        }
        std::string columns, markers;
        for (size_t i = 0; i < write.Values.size(); ++i) {
            columns += (i > 0 ? ", " : "") + quoteIdentifier(write.Values[i].Column);
            markers += i > 0 ? ", ?" : "?";
            statement.Parameters.push_back(&write.Values[i]);
        }
        sql = "INSERT INTO " + table + " (" + columns + ") VALUES (" + markers + ")";
        break;
    }
    }
    return statement;
}
