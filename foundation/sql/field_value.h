#pragma once
#include <stdint.h>
#include <string>
#include "foundation/sql/field_def.h"

namespace sql {

// One cell: its text (bytes as SQLite delivered them), whether it is SQL
// NULL, and the type of its column.
class FieldValue {
public:
    explicit FieldValue(int32_t type = FieldTypeNone) : type_(type) {}

    bool isNull() const { return null_; }
    int32_t type() const { return type_; }
    const std::string& raw() const { return text_; }

    void setNull() {
        text_.clear();
        null_ = true;
    }
    void set(const std::string& text) {
        text_ = text;
        null_ = false;
    }

    // The stored text; a time value is shown as local time
    // ("%d-%m-%Y %H:%M, %a"), empty when it cannot be converted.
    std::string text() const;
    // "null" for a null value, else text().
    std::string asString() const;
    // True only for a non-null value whose text is exactly "1".
    bool isTrue() const;
    // The value as an SQL literal for a column of the given type.
    std::string sqlLiteral(int32_t column_type) const;

    // The 64-bit number a time value holds (0 when null).
    int64_t timeValue() const;

private:
    std::string text_;
    bool null_ = true;
    int32_t type_;
};

// Whether `text` is an SQL numeric literal: an optional sign, digits with at
// most one decimal point, and an optional exponent. No blanks.
bool IsSqlNumber(const std::string& text);

// `text` with every single quote doubled, between single quotes.
std::string QuoteSqlText(const std::string& text);

}  // namespace sql
