#pragma once
#include <string>
#include <vector>
#include "foundation/sql/field_def.h"
#include "foundation/sql/record.h"

struct sqlite3;

namespace sql {

// The rows of one query over a column list. Result columns are matched to
// the list by position, so a query must return its columns in the list's
// order ("select *" over a table created from the list does).
class RecordSet {
public:
    RecordSet(FieldDef* columns, sqlite3* db);
    RecordSet(sqlite3* db, const FieldDefList& fields);
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    // Runs `statement`; true on success. A failing statement throws
    // sql::Exception ("RecordSet::query: " + SQLite's message); it never
    // returns false.
    bool query(const std::string& statement);

    std::string errorText() const { return error_; }
    int resultCode() const { return result_; }
    const FieldDefList& fields() const { return fields_; }

    size_t count() const { return rows_.size(); }
    const Record& at(size_t i) const { return rows_[i]; }

    // The first value of the first row, or nullptr when the last query
    // failed or gave no row or no value.
    const FieldValue* firstValue() const;

private:
    static int OnRow(void* self, int columns, char** texts, char** names);

    sqlite3* db_;
    std::string error_;
    int result_ = 1;
    FieldDefList fields_;
    std::vector<Record> rows_;
};

}  // namespace sql
