#include "foundation/sql/field_def.h"

namespace sql {

const char* FieldDef::typeName() const {
    switch (type) {
    case FieldTypeInteger:
    case FieldTypeBool:
    case FieldTypeTime:
        return "INTEGER";
    case FieldTypeText:
        return "TEXT";
    case FieldTypeReal:
        return "REAL";
    default:
        return "";
    }
}

std::string FieldDef::columnSql() const {
    std::string sql = name + " " + typeName();
    if (flags & FieldFlagPrimaryKey) sql += " PRIMARY KEY";
    if (flags & FieldFlagNotNull) sql += " NOT NULL";
    const char* blanks = " \t\r\n";
    size_t first = sql.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    size_t last = sql.find_last_not_of(blanks);
    return sql.substr(first, last - first + 1);
}

FieldDefList::FieldDefList(FieldDef* columns) {
    for (int32_t i = 0; columns && columns[i].role != FieldRoleEnd; ++i) {
        columns[i].index = i;
        defs_.push_back(columns[i]);
    }
    rebuildNames();
}

FieldDefList::FieldDefList(const FieldDefList& other) : defs_(other.defs_) { rebuildNames(); }

FieldDefList& FieldDefList::operator=(const FieldDefList& other) {
    if (this != &other) {
        defs_ = other.defs_;
        rebuildNames();
    }
    return *this;
}

void FieldDefList::rebuildNames() {
    by_name_.clear();
    for (size_t i = 0; i < defs_.size(); ++i) by_name_.emplace(defs_[i].name, i);
}

const FieldDef* FieldDefList::byName(const std::string& name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : &defs_[it->second];
}

std::string FieldDefList::definitionsSql() const {
    std::string sql;
    for (size_t i = 0; i < defs_.size(); ++i) {
        if (i) sql += ", ";
        sql += defs_[i].columnSql();
    }
    return sql;
}

std::string FieldDefList::namesSql() const {
    std::string sql;
    for (size_t i = 0; i < defs_.size(); ++i) {
        if (i) sql += ", ";
        sql += defs_[i].name;
    }
    return sql;
}

}  // namespace sql
