#include <gtest/gtest.h>
#include <regex>
#include "foundation/sql/field_def.h"
#include "foundation/sql/field_value.h"

using namespace sql;

namespace {

TEST(FieldDef, ColumnSqlForEveryTypeAndFlag) {
    struct Case {
        FieldDef def;
        const char* type_name;
        const char* column_sql;
    } cases[] = {
        {FieldDef("_ID", FieldTypeInteger, FieldFlagPrimaryKey), "INTEGER", "_ID INTEGER PRIMARY KEY"},
        {FieldDef("filepath", FieldTypeText, FieldFlagNotNull), "TEXT", "filepath TEXT NOT NULL"},
        {FieldDef("autologin", FieldTypeBool, FieldFlagNotNull), "INTEGER", "autologin INTEGER NOT NULL"},
        {FieldDef("price", FieldTypeReal, FieldFlagNone), "REAL", "price REAL"},
        {FieldDef("stamp", FieldTypeTime, FieldFlagNotNull | FieldFlagPrimaryKey), "INTEGER",
         "stamp INTEGER PRIMARY KEY NOT NULL"},
        {FieldDef("loose", FieldTypeNone, FieldFlagNone), "", "loose"},
        {FieldDef("odd", 99, FieldFlagNotNull), "", "odd  NOT NULL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.def.name);
        EXPECT_STREQ(c.type_name, c.def.typeName());
        EXPECT_EQ(c.column_sql, c.def.columnSql());
    }
}

TEST(FieldDefList, BuildingFromAnArrayNumbersItInPlace) {
    FieldDef columns[] = {
        FieldDef("_ID", FieldTypeInteger, FieldFlagPrimaryKey),
        FieldDef("user", FieldTypeText, FieldFlagNotNull),
        FieldDef("seen", FieldTypeTime, FieldFlagNone),
        FieldDef::End(),
        FieldDef("after_end", FieldTypeText, FieldFlagNone),
    };
    FieldDefList list(columns);
    ASSERT_EQ(3u, list.count());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(i, columns[i].index);
        EXPECT_EQ(i, list.at(i).index);
    }
    EXPECT_EQ(-1, columns[3].index);
    EXPECT_EQ(-1, columns[4].index);
    EXPECT_EQ("_ID INTEGER PRIMARY KEY, user TEXT NOT NULL, seen INTEGER", list.definitionsSql());
    EXPECT_EQ("_ID, user, seen", list.namesSql());
    ASSERT_NE(nullptr, list.byName("seen"));
    EXPECT_EQ(2, list.byName("seen")->index);
    EXPECT_EQ(nullptr, list.byName("after_end"));
    EXPECT_EQ(nullptr, list.byName("USER"));

    // A copy looks names up in its own definitions.
    FieldDefList* copy = new FieldDefList(list);
    FieldDefList assigned;
    assigned = *copy;
    delete copy;
    ASSERT_NE(nullptr, assigned.byName("user"));
    EXPECT_EQ(FieldTypeText, assigned.byName("user")->type);
    EXPECT_EQ("_ID, user, seen", assigned.namesSql());
}

FieldValue Value(int32_t type, const char* text) {
    FieldValue v(type);
    if (text) v.set(text);
    return v;
}

TEST(FieldValue, TruthAndTextOfValues) {
    struct Case {
        const char* text;  // nullptr: null value
        bool is_true;
        const char* as_string;
    } cases[] = {
        {"1", true, "1"},   {"0", false, "0"},   {"01", false, "01"}, {"1 ", false, "1 "},
        {"true", false, "true"}, {"", false, ""}, {nullptr, false, "null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        FieldValue v = Value(FieldTypeBool, c.text);
        EXPECT_EQ(c.is_true, v.isTrue());
        EXPECT_EQ(c.as_string, v.asString());
    }
}

TEST(FieldValue, SqlLiterals) {
    struct Case {
        int32_t value_type;
        const char* text;  // nullptr: null value
        int32_t column_type;
        const char* literal;
    } cases[] = {
        {FieldTypeText, nullptr, FieldTypeText, "null"},
        {FieldTypeInteger, nullptr, FieldTypeInteger, "null"},
        {FieldTypeTime, nullptr, FieldTypeTime, "null"},
        {FieldTypeText, "it's", FieldTypeText, "'it''s'"},
        {FieldTypeText, "''", FieldTypeText, "''''''"},
        {FieldTypeText, "42", FieldTypeText, "'42'"},
        {FieldTypeText, "", FieldTypeText, "''"},
        {FieldTypeInteger, "42", FieldTypeInteger, "42"},
        {FieldTypeInteger, "-7", FieldTypeInteger, "-7"},
        {FieldTypeReal, "1.5e3", FieldTypeReal, "1.5e3"},
        {FieldTypeReal, ".5", FieldTypeReal, ".5"},
        {FieldTypeBool, "1", FieldTypeBool, "1"},
        {FieldTypeTime, "1700000000", FieldTypeTime, "1700000000"},
        {FieldTypeTime, "12abc", FieldTypeTime, "12"},
        // Text that is not a number is quoted, never spliced in as SQL.
        {FieldTypeInteger, "1); drop table t; --", FieldTypeInteger, "'1); drop table t; --'"},
        {FieldTypeInteger, "it's", FieldTypeInteger, "'it''s'"},
        {FieldTypeInteger, "", FieldTypeInteger, "''"},
        {FieldTypeInteger, " 5", FieldTypeInteger, "' 5'"},
        {FieldTypeReal, "1e", FieldTypeReal, "'1e'"},
        {FieldTypeNone, "x", FieldTypeNone, "'x'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        EXPECT_EQ(c.literal, Value(c.value_type, c.text).sqlLiteral(c.column_type));
    }
}

TEST(FieldValue, TimeValuesShowAsLocalTime) {
    FieldValue stamp = Value(FieldTypeTime, "1700000000");
    std::string shown = stamp.text();
    EXPECT_TRUE(std::regex_match(shown, std::regex(R"(\d\d-11-2023 \d\d:\d\d, \w{3})"))) << shown;
    EXPECT_EQ(shown, stamp.asString());
    EXPECT_EQ("null", Value(FieldTypeTime, nullptr).asString());
    // Other types show their text unchanged.
    EXPECT_EQ("1700000000", Value(FieldTypeInteger, "1700000000").text());
}

}  // namespace
