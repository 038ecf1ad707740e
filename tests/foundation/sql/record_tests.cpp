#include <gtest/gtest.h>
#include <sqlite3.h>
#include <string>
#include "foundation/sql/database.h"
#include "foundation/sql/exception.h"
#include "foundation/sql/record.h"
#include "foundation/sql/record_set.h"

using namespace sql;

namespace {

FieldDef g_columns[] = {
    FieldDef("_ID", FieldTypeInteger, FieldFlagPrimaryKey),
    FieldDef("name", FieldTypeText, FieldFlagNotNull),
    FieldDef("enabled", FieldTypeBool, FieldFlagNone),
    FieldDef::End(),
};

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.open(":memory:"));
        RecordSet(db_.handle(), fields_).query(
            "CREATE TABLE t (_ID INTEGER PRIMARY KEY, name TEXT NOT NULL, enabled INTEGER)");
    }
    Database db_;
    FieldDefList fields_{g_columns};
};

TEST_F(RecordTest, UnknownNamesThrowFromSettersAndYieldNothingFromValueByName) {
    Record row(&fields_);
    try {
        row.fieldByName("missing");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ("Record::fieldByName: field 'missing' not found", e.message());
    }
    EXPECT_THROW(row.setText("Name", "x"), Exception);
    EXPECT_THROW(row.setBool("missing", true), Exception);
    EXPECT_EQ(nullptr, row.valueByName("missing"));

    // By index, an index outside the values is ignored.
    row.setText(7, "ignored");
    row.setBool(3, true);
    EXPECT_EQ("null, null, null", row.valuesSql());
}

TEST_F(RecordTest, InsertStatementQuotesByColumnType) {
    Record row(&fields_);
    row.setText("name", "O'Brien");
    row.setBool("enabled", true);
    ASSERT_NE(nullptr, row.valueByName("enabled"));
    EXPECT_TRUE(row.valueByName("enabled")->isTrue());
    EXPECT_EQ("insert into t (_ID, name, enabled) values (null, 'O''Brien', 1)", row.insertSql("t"));
    row.setBool("enabled", false);
    row.setText(0, "5");
    EXPECT_EQ("5, 'O''Brien', 0", row.valuesSql());
}

TEST_F(RecordTest, TextsRoundTripByteForByte) {
    const std::string texts[] = {
        "it's a 'quoted' \"text\"",
        u8"装机必备 — 软件宝库",
        "C:\\" + std::string(2000, 'x') + "\\setup.exe",
        "'); drop table t; --",
    };
    for (const std::string& text : texts) {
        Record row(&fields_);
        row.setText("name", text);
        RecordSet(db_.handle(), fields_).query(row.insertSql("t"));
    }
    RecordSet rows(db_.handle(), fields_);
    ASSERT_TRUE(rows.query("select * from t order by _ID"));
    ASSERT_EQ(4u, rows.count());
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_NE(nullptr, rows.at(i).valueByName("name"));
        EXPECT_EQ(texts[i], rows.at(i).valueByName("name")->asString());
        EXPECT_EQ(std::to_string(i + 1), rows.at(i).valueByName("_ID")->asString());
        EXPECT_TRUE(rows.at(i).valueByName("enabled")->isNull());
    }
}

TEST_F(RecordTest, ResultColumnsAreMatchedByPositionAndExtrasIgnored) {
    struct Case {
        const char* statement;
        size_t values;
        const char* first;
    } cases[] = {
        {"select 1, 'a', 0, 'extra', 'more', 'and more'", 3, "1"},
        {"select count(*) from t", 1, "0"},
        {"select 9, 'b'", 2, "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        RecordSet rows(db_.handle(), fields_);
        ASSERT_TRUE(rows.query(c.statement));
        ASSERT_EQ(1u, rows.count());
        EXPECT_EQ(c.values, rows.at(0).count());
        ASSERT_NE(nullptr, rows.firstValue());
        EXPECT_EQ(c.first, rows.firstValue()->asString());
        EXPECT_EQ(FieldTypeInteger, rows.firstValue()->type());
    }
    RecordSet short_row(db_.handle(), fields_);
    short_row.query("select 9, 'b'");
    EXPECT_EQ(nullptr, short_row.at(0).valueByName("enabled"));
    EXPECT_EQ("b", short_row.at(0).valueByName("name")->asString());
}

TEST_F(RecordTest, NullCellsStayNull) {
    RecordSet rows(db_.handle(), fields_);
    ASSERT_TRUE(rows.query("select null, '', null"));
    EXPECT_TRUE(rows.at(0).at(0).isNull());
    EXPECT_FALSE(rows.at(0).at(1).isNull());
    EXPECT_EQ("", rows.at(0).at(1).asString());
    EXPECT_EQ("null", rows.at(0).at(2).asString());
}

TEST_F(RecordTest, FailingStatementsThrowWithSqliteMessageAndCode) {
    RecordSet(db_.handle(), fields_).query("insert into t (_ID, name) values (1, 'one')");
    struct Case {
        const char* statement;
        int code;
        const char* detail;
    } cases[] = {
        {"selec * from t", SQLITE_ERROR, "syntax error"},
        {"select * from nowhere", SQLITE_ERROR, "no such table: nowhere"},
        {"insert into t (_ID, name) values (1, 'again')", SQLITE_CONSTRAINT, "UNIQUE constraint failed"},
        {"insert into t (_ID, name) values (2, null)", SQLITE_CONSTRAINT, "NOT NULL constraint failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        RecordSet rows(db_.handle(), fields_);
        rows.query("select * from t");
        ASSERT_EQ(1u, rows.count());
        try {
            rows.query(c.statement);
            FAIL() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(0u, e.message().find("RecordSet::query: ")) << e.message();
            EXPECT_NE(std::string::npos, e.message().find(c.detail)) << e.message();
            EXPECT_EQ("RecordSet::query: " + rows.errorText(), e.message());
        }
        EXPECT_EQ(0u, rows.count());
        EXPECT_EQ(c.code, rows.resultCode());
        EXPECT_EQ(nullptr, rows.firstValue());
    }
}

TEST_F(RecordTest, FirstValueIsNothingWithoutRows) {
    RecordSet rows(g_columns, db_.handle());
    EXPECT_EQ(1, rows.resultCode());
    EXPECT_EQ(nullptr, rows.firstValue());
    ASSERT_TRUE(rows.query("select * from t"));
    EXPECT_EQ(SQLITE_OK, rows.resultCode());
    EXPECT_EQ(nullptr, rows.firstValue());
}

}  // namespace
