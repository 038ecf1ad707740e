#pragma once
#include <string>
#include "foundation/sql/field_def.h"
#include "foundation/sql/record.h"
#include "foundation/sql/record_set.h"

struct sqlite3;

namespace sql {

// One table over an open connection (not owned), described by a static
// column array. Every failing statement throws sql::Exception.
class DbTable {
public:
    // `name` goes into statements unchanged: it must be a plain identifier.
    DbTable(sqlite3* db, const std::string& name, FieldDef* columns);

    const std::string& name() const { return name_; }
    const FieldDefList& fields() const { return rows_.fields(); }
    // The rows of the last selectAll().
    const RecordSet& recordSet() const { return rows_; }

    std::string createSql() const;
    // Creates the table unless it exists; true.
    bool create();
    // Whether a table (not a view or index) of this name exists.
    bool exists();
    bool selectAll();
    bool drop();
    // False when no record is given; otherwise inserts it and returns true.
    bool insert(const Record* record);

private:
    sqlite3* db_;
    std::string name_;
    RecordSet rows_;
};

}  // namespace sql
