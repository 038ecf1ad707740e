#include "foundation/sql/field_value.h"
#include <stdlib.h>
#include <time.h>

namespace sql {

int64_t FieldValue::timeValue() const {
    if (null_) return 0;
    return strtoll(text_.c_str(), nullptr, 10);
}

std::string FieldValue::text() const {
    if (type_ != FieldTypeTime) return text_;
    __time64_t seconds = timeValue();
    struct tm local;
    if (_localtime64_s(&local, &seconds) != 0) return std::string();
    char buf[128];
    size_t n = strftime(buf, sizeof buf, "%d-%m-%Y %H:%M, %a", &local);
    return std::string(buf, n);
}

std::string FieldValue::asString() const { return null_ ? std::string("null") : text(); }

bool FieldValue::isTrue() const { return !null_ && text_ == "1"; }

std::string FieldValue::sqlLiteral(int32_t column_type) const {
    if (null_) return "null";
    if (column_type == FieldTypeText) return QuoteSqlText(text_);
    if (type_ == FieldTypeTime) return std::to_string(static_cast<long long>(timeValue()));
    // A text that is not a number would otherwise be spliced into the
    // statement as SQL: quote it, and let the column's affinity decide.
    if (!IsSqlNumber(text_)) return QuoteSqlText(text_);
    return text_;
}

bool IsSqlNumber(const std::string& text) {
    size_t i = 0, n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        size_t exp_digits = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++exp_digits;
        if (exp_digits == 0) return false;
    }
    return i == n;
}

std::string QuoteSqlText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

}  // namespace sql
