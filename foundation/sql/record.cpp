#include "foundation/sql/record.h"
#include "foundation/sql/exception.h"

namespace sql {

Record::Record(const FieldDefList* fields, size_t value_count) : fields_(fields) {
    if (value_count > fields->count()) value_count = fields->count();
    values_.reserve(value_count);
    for (size_t i = 0; i < value_count; ++i) values_.emplace_back(fields->at(i).type);
}

Record::Record(const FieldDefList* fields) : Record(fields, fields->count()) {}

const FieldDef& Record::fieldByName(const std::string& name) const {
    const FieldDef* def = fields_->byName(name);
    if (!def) throw Exception("Record::fieldByName: field '" + name + "' not found");
    return *def;
}

const FieldValue* Record::valueByName(const std::string& name) const {
    const FieldDef* def = fields_->byName(name);
    if (!def || def->index < 0 || static_cast<size_t>(def->index) >= values_.size()) return nullptr;
    return &values_[def->index];
}

void Record::setText(size_t index, const std::string& text) {
    if (index < values_.size()) values_[index].set(text);
}

void Record::setBool(size_t index, bool value) { setText(index, value ? "1" : "0"); }

void Record::setText(const std::string& name, const std::string& text) {
    setText(static_cast<size_t>(fieldByName(name).index), text);
}

void Record::setBool(const std::string& name, bool value) {
    setBool(static_cast<size_t>(fieldByName(name).index), value);
}

std::string Record::valuesSql() const {
    std::string sql;
    for (size_t i = 0; i < fields_->count(); ++i) {
        const FieldDef& def = fields_->at(i);
        if (i) sql += ", ";
        const FieldValue* value = valueByName(def.name);
        sql += value ? value->sqlLiteral(def.type) : "null";
    }
    return sql;
}

std::string Record::insertSql(const std::string& table) const {
    return "insert into " + table + " (" + fields_->namesSql() + ") values (" + valuesSql() + ")";
}

}  // namespace sql
