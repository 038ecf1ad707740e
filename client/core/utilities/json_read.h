#pragma once
#include <stdint.h>
#include <string>
#include <json/json.h>

// Safe readers for the JSON answers of the services. jsoncpp throws when a
// value of one kind is read as another, or a number is out of range; on a
// worker thread that would end the process. These never throw:
// - a text that is not JSON, or whose root is of the wrong kind, is a parse
//   failure;
// - a member that is missing, or of the wrong type, reads its default.
namespace json_read {

enum class Root { Object, Array };

// Parses `text` into `root`; false when it is not JSON or its root is not of
// the kind asked for.
bool Parse(const std::string& text, Root kind, Json::Value* root);

// The member of an object; a null value when `object` is not an object or has
// no such member.
const Json::Value& Member(const Json::Value& object, const char* name);

// A text member (a JSON string); `fallback` when missing or not a string.
std::string Text(const Json::Value& object, const char* name, const char* fallback);
// The same text, UTF-8 converted to wide.
std::wstring WideText(const Json::Value& object, const char* name, const char* fallback);
// A number sent as a text, converted with DecimalToInt32.
int32_t Decimal(const Json::Value& object, const char* name, const char* fallback);
// A member meant to be a JSON integer. A text is read with DecimalToInt32;
// integers beyond the 32-bit range are clamped; anything else reads
// `fallback`.
int32_t Integer(const Json::Value& object, const char* name, int32_t fallback);
// An array member; a null value (size 0) when missing or not an array.
const Json::Value& Array(const Json::Value& object, const char* name);

// Base-10 conversion as the C library's strtol does it: leading blanks and one
// sign are accepted, conversion stops at the first non-digit, no digits give
// 0, and values beyond the signed 32-bit range are clamped to its limits.
int32_t DecimalToInt32(const std::string& text);

}  // namespace json_read
