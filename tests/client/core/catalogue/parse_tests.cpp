#include <gtest/gtest.h>
#include <stdint.h>
#include <string>
#include <vector>
#include "client/core/utilities/json_read.h"
#include "client/core/catalogue/rank_page.h"
#include "client/core/catalogue/soft_class_mgr.h"
#include "client/core/catalogue/soft_search.h"
#include "client/core/catalogue/software_parse.h"

namespace {

TEST(DecimalText, ConvertsLikeStrtolClampedTo32Bits) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0", 0},           {"1001", 1001},        {"12abc", 12},       {"  -5", -5},
        {"\t+7", 7},        {"", 0},               {"abc", 0},          {"- 5", 0},
        {"--5", 0},         {"3000000000", 2147483647}, {"-3000000000", INT32_MIN},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        {"99999999999999999999999999", 2147483647}, {"1.9", 1}, {"0x1F", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, json_read::DecimalToInt32(c.text)) << c.text;
}

TEST(JsonRead, RootsOfTheWrongKindAreParseFailures) {
    std::string deep(20000, '[');
    struct Case {
        std::string text;
        bool as_object;
        bool as_array;
    } cases[] = {
        {"{}", true, false},
        {"[]", false, true},
        {"{\"a\":[1]}", true, false},
        {"[{\"a\":1}]", false, true},
        {"5", false, false},
        {"\"text\"", false, false},
        {"null", false, false},
        {"true", false, false},
        {"", false, false},
        {"<html>this is not json", false, false},
        {"{\"a\":", false, false},
        {deep, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        Json::Value root;
        EXPECT_EQ(c.as_object, json_read::Parse(c.text, json_read::Root::Object, &root));
        EXPECT_EQ(c.as_array, json_read::Parse(c.text, json_read::Root::Array, &root));
    }
}

TEST(JsonRead, MembersOfTheWrongTypeReadTheirDefault) {
    Json::Value root;
    ASSERT_TRUE(json_read::Parse(
        R"({"s":"42","n":42,"big":1e300,"neg":-99999999999,"huge":18446744073709551615,
            "t":" 17x","f":3.5,"b":true,"z":null,"a":[1],"o":{"x":"1"}})",
        json_read::Root::Object, &root));
    struct Case {
        const char* name;
        int32_t decimal;  // Decimal(name, "7")
        int32_t integer;  // Integer(name, 9)
        const char* text; // Text(name, "dflt")
    } cases[] = {
        {"s", 42, 42, "42"},
        {"n", 7, 42, "dflt"},
        {"big", 7, 9, "dflt"},
        {"neg", 7, INT32_MIN, "dflt"},
        {"huge", 7, 2147483647, "dflt"},
        {"t", 17, 17, " 17x"},
        {"f", 7, 9, "dflt"},
        {"b", 7, 9, "dflt"},
        {"z", 7, 9, "dflt"},
        {"a", 7, 9, "dflt"},
        {"o", 7, 9, "dflt"},
        {"missing", 7, 9, "dflt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.decimal, json_read::Decimal(root, c.name, "7"));
        EXPECT_EQ(c.integer, json_read::Integer(root, c.name, 9));
        EXPECT_EQ(c.text, json_read::Text(root, c.name, "dflt"));
    }
    EXPECT_EQ(1u, json_read::Array(root, "a").size());
    EXPECT_EQ(0u, json_read::Array(root, "o").size());
    EXPECT_EQ(0u, json_read::Array(root, "missing").size());
    // Members of something that is not an object read their defaults too.
    EXPECT_EQ(7, json_read::Decimal(root["a"], "s", "7"));
    EXPECT_EQ(7, json_read::Decimal(Json::Value(5), "s", "7"));
}

TEST(ParseSoftware, ReadsEveryMember) {
    Software soft;
    ASSERT_TRUE(ParseSoftware(&soft, u8R"({"soft_id":"1001","soft_score":"8","soft_version":"3.2.1",
        "soft_name":"飞鸽聊天","soft_desc":"轻巧的即时通讯工具","soft_size":"49356800","union_id":"3",
        "name_expr":"feige?000?.exe","soft_uname":"feige_setup.exe","extra":"ignored"})"));
    EXPECT_EQ(1001, soft.soft_id);
    EXPECT_EQ(8, soft.soft_score);
    EXPECT_EQ(L"3.2.1", soft.soft_version);
    EXPECT_EQ(L"飞鸽聊天", soft.soft_name);
    EXPECT_EQ(L"轻巧的即时通讯工具", soft.soft_desc);
    EXPECT_EQ(49356800, soft.soft_size);
    EXPECT_EQ(3, soft.union_id);
    EXPECT_EQ("feige?000?.exe", soft.name_expr);  // no trailing NUL
    EXPECT_EQ(L".exe", soft.file_ext);
    EXPECT_EQ(L"", soft.icon_path);
    EXPECT_EQ(L"", soft.install_name);
}

TEST(ParseSoftware, DefaultsAndOddMembers) {
    struct Case {
        const char* json;
        int32_t soft_id;
        int64_t soft_size;
        const wchar_t* file_ext;
        const wchar_t* name;
    } cases[] = {
        {"{}", 0, 0, L"", L""},
        {R"({"soft_size":"3000000000"})", 0, 2147483647, L"", L""},
        {R"({"soft_size":"-5"})", 0, -5, L"", L""},
        {R"({"soft_size":"12abc","soft_uname":"setup.exe"})", 0, 12, L".exe", L""},
        {R"({"soft_uname":"installer.msi"})", 0, 0, L".msi", L""},
        {R"({"soft_uname":"setup"})", 0, 0, L"", L""},
        {R"({"soft_uname":"archive.tar.gz"})", 0, 0, L".gz", L""},
        // Members of the wrong type read their defaults.
        {R"({"soft_id":1001,"soft_size":12,"soft_name":5,"soft_uname":["a.exe"]})", 0, 0, L"", L""},
        {R"({"soft_id":null,"soft_name":{"x":"y"},"soft_size":true})", 0, 0, L"", L""},
        {R"({"soft_id":"77","soft_name":"ok","soft_desc":7})", 77, 0, L"", L"ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        Software soft;
        ASSERT_TRUE(ParseSoftware(&soft, c.json));
        EXPECT_EQ(c.soft_id, soft.soft_id);
        EXPECT_EQ(c.soft_size, soft.soft_size);
        EXPECT_EQ(c.file_ext, soft.file_ext);
        EXPECT_EQ(c.name, soft.soft_name);
        EXPECT_EQ(0, soft.soft_score);
        EXPECT_EQ(0, soft.union_id);
    }
}

TEST(ParseSoftware, AnswersThatAreNotObjectsFailAndLeaveTheRecord) {
    for (const char* text : {"", "<html>this is not json", "[1,2,3]", "\"soft\"", "42", "null", "{"}) {
        SCOPED_TRACE(text);
        Software soft;
        soft.soft_id = 5;
        soft.soft_name = L"kept";
        EXPECT_FALSE(ParseSoftware(&soft, text));
        EXPECT_EQ(5, soft.soft_id);
        EXPECT_EQ(L"kept", soft.soft_name);
    }
}

TEST(SoftClassParse, ReadsAnArrayOfCategories) {
    SoftClassMap classes;
    ASSERT_TRUE(SoftClassMgr::Parse(u8R"([
        {"class_name":"装机必备","class_id":"1","pclass_id":"-1","rank":"40"},
        {"class_name":"聊天通讯","class_id":"101","pclass_id":"1","rank":"9"},
        {"class_name":"later wins","class_id":"101","pclass_id":"1","rank":"3"},
        {"class_id":"7"},
        {"class_name":5,"class_id":8,"pclass_id":"x"},
        "not an object", 12])",
                                    &classes));
    ASSERT_EQ(4u, classes.size());  // 1, 101, 7, and 0 for the three elements whose id is not a text
    EXPECT_EQ(L"装机必备", classes[1].class_name);
    EXPECT_EQ(-1, classes[1].pclass_id);
    EXPECT_EQ(40, classes[1].rank);
    EXPECT_EQ(L"later wins", classes[101].class_name);
    EXPECT_EQ(3, classes[101].rank);
    EXPECT_EQ(L"0", classes[7].class_name);  // a missing name reads "0"
    EXPECT_EQ(0, classes[7].pclass_id);
    EXPECT_EQ(1u, classes.count(0));

    for (const char* text : {"{}", "{\"class_id\":\"1\"}", "\"x\"", "<html>", ""}) {
        SoftClassMap none;
        EXPECT_FALSE(SoftClassMgr::Parse(text, &none)) << text;
        EXPECT_TRUE(none.empty());
    }
}

TEST(RankParse, EntriesTotalsAndFailures) {
    struct Case {
        const char* json;
        bool ok;
        int32_t total;
        int32_t count;
        std::vector<RankEntry> entries;
    } cases[] = {
        {R"({"total_num":42,"soft_info":[{"soft_id":"1001","rank":"9"},{"soft_id":"1002","rank":"8"}]})",
         true, 42, 2, {{1001, 9}, {1002, 8}}},
        // A total sent as a text is read with the same decimal conversion.
        {R"({"total_num":"42","soft_info":[{"soft_id":"5","rank":"1"}]})", true, 42, 1, {{5, 1}}},
        {R"({"total_num":" 7 pages","soft_info":[{"soft_id":"5","rank":"1"}]})", true, 7, 1, {{5, 1}}},
        {R"({"total_num":1e12,"soft_info":[{"soft_id":"5","rank":"1"}]})", true, 2147483647, 1, {{5, 1}}},
        // Negative or missing ids and ranks are skipped, never left as empty entries.
        {R"({"total_num":3,"soft_info":[{"soft_id":"1","rank":"-1"},{"rank":"4"},{"soft_id":"3","rank":"2"}]})",
         true, 3, 3, {{3, 2}}},
        {R"({"total_num":3,"soft_info":[{"soft_id":1,"rank":"2"},"x",null,{"soft_id":"3","rank":"2"}]})",
         true, 3, 4, {{3, 2}}},
        {R"({"total_num":0,"soft_info":[{"soft_id":"1","rank":"1"}]})", false, 0, 0, {}},
        {R"({"total_num":"abc","soft_info":[{"soft_id":"1","rank":"1"}]})", false, 0, 0, {}},
        {R"({"total_num":3.5,"soft_info":[{"soft_id":"1","rank":"1"}]})", false, 0, 0, {}},
        {R"({"soft_info":[{"soft_id":"1","rank":"1"}]})", false, 0, 0, {}},
        {R"({"total_num":5,"soft_info":[]})", false, 5, 0, {}},
        {R"({"total_num":5,"soft_info":{"soft_id":"1"}})", false, 5, 0, {}},
        {R"({"total_num":5,"soft_info":[{"soft_id":"-3","rank":"-1"}]})", false, 5, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        std::vector<RankEntry> entries;
        int32_t total = -9, count = -9;
        EXPECT_EQ(c.ok, LoadFromJson(c.json, &entries, &total, &count));
        EXPECT_EQ(c.total, total);
        if (c.total != 0) {
            EXPECT_EQ(c.count, count);
        }
        EXPECT_EQ(c.entries, entries);
    }
    for (const char* text : {"[1,2,3]", "<html>this is not json", "", "5"}) {
        std::vector<RankEntry> entries{{1, 1}};
        int32_t total = -9, count = -9;
        EXPECT_FALSE(LoadFromJson(text, &entries, &total, &count)) << text;
        EXPECT_EQ(-9, total);
    }
}

TEST(SearchParse, AppendsEveryResult) {
    std::vector<int32_t> ids{7};
    EXPECT_TRUE(ParseSearchResults(
        R"({"results":[{"soft_id":"1005"},{"soft_id":"12x"},{},{"soft_id":1}]})", &ids));
    EXPECT_EQ((std::vector<int32_t>{7, 1005, 12, 0, 0}), ids);
    ids.clear();
    EXPECT_TRUE(ParseSearchResults(R"({"results":"none"})", &ids));
    EXPECT_TRUE(ParseSearchResults(R"({})", &ids));
    EXPECT_TRUE(ids.empty());
    for (const char* text : {"[1,2,3]", "<html>", "", "\"x\""})
        EXPECT_FALSE(ParseSearchResults(text, &ids)) << text;
}

}  // namespace
