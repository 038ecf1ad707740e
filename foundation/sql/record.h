#pragma once
#include <string>
#include <vector>
#include "foundation/sql/field_def.h"
#include "foundation/sql/field_value.h"

namespace sql {

// One row over a column list (not owned: the list must outlive the row).
// It holds at most one value per column, in column order.
class Record {
public:
    // A row with `value_count` null values typed by their columns (clamped
    // to the list's size).
    Record(const FieldDefList* fields, size_t value_count);
    // A row with every column's value null.
    explicit Record(const FieldDefList* fields);

    const FieldDefList& fields() const { return *fields_; }
    size_t count() const { return values_.size(); }
    const FieldValue& at(size_t i) const { return values_[i]; }
    FieldValue& at(size_t i) { return values_[i]; }

    // The column's definition; throws sql::Exception for an unknown name.
    const FieldDef& fieldByName(const std::string& name) const;
    // The column's value, or nullptr (unknown name, or no value for it).
    const FieldValue* valueByName(const std::string& name) const;

    // By name: an unknown name throws. By index: an index outside the
    // values is ignored.
    void setText(const std::string& name, const std::string& text);
    void setBool(const std::string& name, bool value);
    void setText(size_t index, const std::string& text);
    void setBool(size_t index, bool value);

    std::string valuesSql() const;
    std::string insertSql(const std::string& table) const;

private:
    const FieldDefList* fields_;
    std::vector<FieldValue> values_;
};

}  // namespace sql
