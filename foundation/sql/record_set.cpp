#include "foundation/sql/record_set.h"
#include <sqlite3.h>
#include "foundation/sql/exception.h"

namespace sql {

RecordSet::RecordSet(FieldDef* columns, sqlite3* db) : db_(db), fields_(columns) {}

RecordSet::RecordSet(sqlite3* db, const FieldDefList& fields) : db_(db), fields_(fields) {}

int RecordSet::OnRow(void* self, int columns, char** texts, char**) {
    RecordSet* set = static_cast<RecordSet*>(self);
    // Never let an exception unwind through SQLite's C frames: abort the
    // statement instead, which query() then reports.
    try {
        // Result columns beyond the list have no column to land in: they are
        // ignored rather than read past the list.
        size_t n = columns < 0 ? 0 : static_cast<size_t>(columns);
        Record row(&set->fields_, n);
        for (size_t i = 0; i < row.count(); ++i) {
            if (texts && texts[i]) row.at(i).set(texts[i]);
        }
        set->rows_.push_back(std::move(row));
        return 0;
    } catch (...) {
        return 1;
    }
}

bool RecordSet::query(const std::string& statement) {
    rows_.clear();
    result_ = 1;
    char* message = nullptr;
    result_ = sqlite3_exec(db_, statement.c_str(), &RecordSet::OnRow, this, &message);
    if (result_ == SQLITE_OK) {
        if (message) sqlite3_free(message);
        return true;
    }
    rows_.clear();
    if (message) {
        error_ = message;
        sqlite3_free(message);
    } else {
        error_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result_);
    }
    throw Exception("RecordSet::query: " + error_);
}

const FieldValue* RecordSet::firstValue() const {
    if (result_ != SQLITE_OK || rows_.empty() || rows_[0].count() == 0) return nullptr;
    return &rows_[0].at(0);
}

}  // namespace sql
