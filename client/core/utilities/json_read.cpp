#include "client/core/utilities/json_read.h"
#include <string.h>
#include <memory>
#include "client/core/utilities/text_encoding.h"

namespace json_read {

namespace {
const Json::Value& NullValue() {
    static const Json::Value null_value;
    return null_value;
}
}  // namespace

bool Parse(const std::string& text, Root kind, Json::Value* root) {
    try {
        Json::CharReaderBuilder builder;
        std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        Json::Value value;
        std::string errors;
        if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors)) return false;
        bool right_kind = kind == Root::Object ? value.isObject() : value.isArray();
        if (!right_kind) return false;
        root->swap(value);
        return true;
    } catch (...) {
        // jsoncpp throws on documents nested beyond its stack limit.
        return false;
    }
}

const Json::Value& Member(const Json::Value& object, const char* name) {
    if (!object.isObject()) return NullValue();
    const Json::Value* found = object.find(name, name + strlen(name));
    return found ? *found : NullValue();
}

std::string Text(const Json::Value& object, const char* name, const char* fallback) {
    const Json::Value& v = Member(object, name);
    return v.isString() ? v.asString() : std::string(fallback);
}

std::wstring WideText(const Json::Value& object, const char* name, const char* fallback) {
    std::wstring wide;
    Utf8ToWide(Text(object, name, fallback), &wide);
    return wide;
}

int32_t Decimal(const Json::Value& object, const char* name, const char* fallback) {
    return DecimalToInt32(Text(object, name, fallback));
}

int32_t Integer(const Json::Value& object, const char* name, int32_t fallback) {
    const Json::Value& v = Member(object, name);
    if (v.isString()) return DecimalToInt32(v.asString());
    if (v.isInt64()) {
        Json::Int64 n = v.asInt64();
        if (n > INT32_MAX) return INT32_MAX;
        if (n < INT32_MIN) return INT32_MIN;
        return static_cast<int32_t>(n);
    }
    if (v.isUInt64()) return INT32_MAX;  // beyond even the signed 64-bit range
    return fallback;
}

const Json::Value& Array(const Json::Value& object, const char* name) {
    const Json::Value& v = Member(object, name);
    return v.isArray() ? v : NullValue();
}

int32_t DecimalToInt32(const std::string& text) {
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1) break;  // clamped below
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace json_read
