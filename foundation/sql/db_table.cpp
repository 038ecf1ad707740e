#include "foundation/sql/db_table.h"
#include <stdlib.h>
#include "foundation/sql/field_value.h"

namespace sql {

DbTable::DbTable(sqlite3* db, const std::string& name, FieldDef* columns)
    : db_(db), name_(name), rows_(columns, db) {}

std::string DbTable::createSql() const {
    return "CREATE TABLE " + name_ + " (" + fields().definitionsSql() + ")";
}

bool DbTable::create() {
    if (!exists()) rows_.query(createSql());
    return true;
}

bool DbTable::exists() {
    RecordSet probe(db_, fields());
    probe.query("select count(*) from sqlite_master where type = 'table' and name = " +
                QuoteSqlText(name_));
    const FieldValue* count = probe.firstValue();
    return count && !count->isNull() && strtoll(count->raw().c_str(), nullptr, 10) > 0;
}

bool DbTable::selectAll() { return rows_.query("select * from " + name_); }

bool DbTable::drop() { return rows_.query("drop table " + name_); }

bool DbTable::insert(const Record* record) {
    if (!record) return false;
    RecordSet statement(db_, fields());
    return statement.query(record->insertSql(name_));
}

}  // namespace sql
