#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "foundation/sql/database.h"
#include "foundation/sql/db_table.h"
#include "foundation/sql/exception.h"
#include "tests/support/test_support.h"

using namespace sql;

namespace {

FieldDef g_path_columns[] = {
    FieldDef("_ID", FieldTypeInteger, FieldFlagPrimaryKey),
    FieldDef("filepath", FieldTypeText, FieldFlagNotNull),
    FieldDef::End(),
};

FieldDef g_mixed_columns[] = {
    FieldDef("_ID", FieldTypeInteger, FieldFlagPrimaryKey),
    FieldDef("flag", FieldTypeBool, FieldFlagNotNull),
    FieldDef("ratio", FieldTypeReal, FieldFlagNone),
    FieldDef("stamp", FieldTypeTime, FieldFlagNone),
    FieldDef("note", FieldTypeText, FieldFlagNone),
    FieldDef::End(),
};

std::string Utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), (int)w.size(), &out[0], n, nullptr, nullptr);
    return out;
}

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test_support::MakeTempDir(L"sql"); }
    void TearDown() override { test_support::RemoveTree(dir_); }
    std::wstring dir_;
};

TEST_F(DatabaseTest, OpeningAMissingFileCreatesIt) {
    // The folder name is Chinese: SQLite receives the path as UTF-8.
    std::wstring folder = dir_ + L"\\设置";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring file = folder + L"\\ext.dat";
    {
        Database db;
        ASSERT_TRUE(db.open(Utf8(file)));
        EXPECT_NE(nullptr, db.handle());
        EXPECT_EQ(0, db.resultCode());
        DbTable table(db.handle(), "download_path_conf", g_path_columns);
        EXPECT_TRUE(table.create());
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file.c_str()));
}

TEST_F(DatabaseTest, OpenFailuresThrowAndCloseResets) {
    const std::string bad_paths[] = {
        Utf8(dir_ + L"\\no such folder\\ext.dat"),
        Utf8(dir_),  // a folder, not a file
    };
    for (const std::string& path : bad_paths) {
        SCOPED_TRACE(path);
        Database db;
        try {
            db.open(path);
            FAIL() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(0u, e.message().find("Database::open: ")) << e.message();
            EXPECT_FALSE(db.errorText().empty());
            EXPECT_EQ("Database::open: " + db.errorText(), e.message());
            EXPECT_NE(0, db.resultCode());
        }
        db.close();
        EXPECT_EQ(nullptr, db.handle());
        EXPECT_EQ(1, db.resultCode());
        EXPECT_EQ("", db.errorText());
    }
}

TEST_F(DatabaseTest, TablesAreCreatedWithTheirColumnTypes) {
    Database db;
    ASSERT_TRUE(db.open(":memory:"));
    DbTable table(db.handle(), "mixed", g_mixed_columns);
    EXPECT_EQ("CREATE TABLE mixed (_ID INTEGER PRIMARY KEY, flag INTEGER NOT NULL, ratio REAL, "
              "stamp INTEGER, note TEXT)",
              table.createSql());
    EXPECT_FALSE(table.exists());
    ASSERT_TRUE(table.create());
    EXPECT_TRUE(table.exists());

    FieldDef info_columns[] = {
        FieldDef("cid", FieldTypeInteger, 0),  FieldDef("name", FieldTypeText, 0),
        FieldDef("type", FieldTypeText, 0),    FieldDef("notnull", FieldTypeInteger, 0),
        FieldDef("dflt", FieldTypeText, 0),    FieldDef("pk", FieldTypeInteger, 0),
        FieldDef::End(),
    };
    RecordSet info(info_columns, db.handle());
    ASSERT_TRUE(info.query("pragma table_info(mixed)"));
    struct Expected {
        const char* name;
        const char* type;
        const char* notnull;
        const char* pk;
    } expected[] = {
        {"_ID", "INTEGER", "0", "1"}, {"flag", "INTEGER", "1", "0"}, {"ratio", "REAL", "0", "0"},
        {"stamp", "INTEGER", "0", "0"}, {"note", "TEXT", "0", "0"},
    };
    ASSERT_EQ(5u, info.count());
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i].name, info.at(i).valueByName("name")->asString());
        EXPECT_EQ(expected[i].type, info.at(i).valueByName("type")->asString());
        EXPECT_EQ(expected[i].notnull, info.at(i).valueByName("notnull")->asString());
        EXPECT_EQ(expected[i].pk, info.at(i).valueByName("pk")->asString());
    }
}

TEST_F(DatabaseTest, DropAndRecreateLeavesAnEmptyTableWhoseFirstKeyIsOne) {
    Database db;
    ASSERT_TRUE(db.open(Utf8(dir_ + L"\\t.db")));
    DbTable table(db.handle(), "download_path_conf", g_path_columns);
    ASSERT_TRUE(table.create());
    for (const char* path : {"C:\\one", "C:\\two"}) {
        Record row(&table.fields());
        row.setText("filepath", path);
        ASSERT_TRUE(table.insert(&row));
    }
    // create() on an existing table changes nothing.
    ASSERT_TRUE(table.create());
    ASSERT_TRUE(table.selectAll());
    EXPECT_EQ(2u, table.recordSet().count());

    ASSERT_TRUE(table.drop());
    EXPECT_FALSE(table.exists());
    EXPECT_THROW(table.selectAll(), Exception);
    EXPECT_THROW(table.drop(), Exception);
    Record orphan(&table.fields());
    orphan.setText("filepath", "x");
    EXPECT_THROW(table.insert(&orphan), Exception);

    ASSERT_TRUE(table.create());
    ASSERT_TRUE(table.selectAll());
    EXPECT_EQ(0u, table.recordSet().count());
    Record row(&table.fields());
    row.setText("filepath", "C:\\three");
    ASSERT_TRUE(table.insert(&row));
    EXPECT_FALSE(table.insert(nullptr));
    ASSERT_TRUE(table.selectAll());
    ASSERT_EQ(1u, table.recordSet().count());
    EXPECT_EQ("1", table.recordSet().at(0).valueByName("_ID")->asString());
    EXPECT_EQ("C:\\three", table.recordSet().at(0).valueByName("filepath")->asString());
}

TEST_F(DatabaseTest, ExistsIsOnlyTrueForTables) {
    Database db;
    ASSERT_TRUE(db.open(":memory:"));
    DbTable base(db.handle(), "base", g_path_columns);
    ASSERT_TRUE(base.create());
    RecordSet(db.handle(), base.fields()).query("create view seen_view as select * from base");
    RecordSet(db.handle(), base.fields()).query("create index seen_index on base(filepath)");
    struct Case {
        const char* name;
        bool exists;
    } cases[] = {{"base", true}, {"seen_view", false}, {"seen_index", false}, {"missing", false},
                 {"it's", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.exists, DbTable(db.handle(), c.name, g_path_columns).exists());
    }
}

TEST_F(DatabaseTest, ExceptionCarriesItsMessage) {
    Exception e("Database::open: unable to open database file");
    Exception copy = e;
    EXPECT_EQ("Database::open: unable to open database file", copy.message());
    try {
        throw Exception("RecordSet::query: near \"x\": syntax error");
    } catch (Exception caught) {
        EXPECT_EQ("RecordSet::query: near \"x\": syntax error", caught.message());
    }
}

}  // namespace
