#pragma once
#include <stdint.h>
#include <map>
#include <string>
#include <vector>

namespace sql {

enum FieldRole : int32_t {
    FieldRoleColumn = 0,
    FieldRoleEnd = 2,  // closes a column array
};

// Any value other than the five below means "no type".
enum FieldType : int32_t {
    FieldTypeNone = 0,
    FieldTypeInteger = 1,
    FieldTypeText = 2,
    FieldTypeReal = 3,
    FieldTypeBool = 4,
    FieldTypeTime = 5,  // 64-bit count of seconds, held as decimal text
};

enum FieldFlags : int32_t {
    FieldFlagNone = 0,
    FieldFlagNotNull = 1,
    FieldFlagPrimaryKey = 2,
};

// One column of a table. Tables are described by static arrays of these,
// closed by FieldDef::End().
struct FieldDef {
    std::string name;
    int32_t role = FieldRoleColumn;
    int32_t type = FieldTypeNone;
    int32_t index = -1;  // position in its column list, -1 until placed in one
    int32_t flags = FieldFlagNone;

    FieldDef(std::string column_name, int32_t field_type, int32_t field_flags)
        : name(std::move(column_name)), type(field_type), flags(field_flags) {}

    static FieldDef End() {
        FieldDef end("", FieldTypeNone, FieldFlagNone);
        end.role = FieldRoleEnd;
        return end;
    }

    // "INTEGER" for integer, bool and time columns, "TEXT", "REAL", or empty.
    const char* typeName() const;
    // "name TYPE[ PRIMARY KEY][ NOT NULL]", trimmed.
    std::string columnSql() const;
};

// The columns of one table, in order, with a lookup by name.
class FieldDefList {
public:
    FieldDefList() = default;
    // Numbers the array's entries 0, 1, ... in place (up to the end marker)
    // and copies them.
    explicit FieldDefList(FieldDef* columns);
    FieldDefList(const FieldDefList& other);
    FieldDefList& operator=(const FieldDefList& other);

    size_t count() const { return defs_.size(); }
    const FieldDef& at(size_t i) const { return defs_[i]; }
    // The column of that name, or nullptr.
    const FieldDef* byName(const std::string& name) const;

    std::string definitionsSql() const;  // every columnSql, joined with ", "
    std::string namesSql() const;        // every name, joined with ", "

private:
    void rebuildNames();

    std::vector<FieldDef> defs_;
    std::map<std::string, size_t> by_name_;
};

}  // namespace sql
