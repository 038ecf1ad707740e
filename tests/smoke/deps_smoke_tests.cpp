#include <gtest/gtest.h>
#include <json/json.h>
#include <sqlite3.h>
#include <unzip.h>
#include <zip.h>
#include <zlib.h>
#include <memory>
#include <string>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

TEST(Dependencies, SqliteRunsAQuery) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(":memory:", &db));
    int value = 0;
    char* error = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(
                             db, "select 6*7",
                             [](void* out, int, char** v, char**) {
                                 *static_cast<int*>(out) = atoi(v[0]);
                                 return 0;
                             },
                             &value, &error));
    EXPECT_EQ(42, value);
    sqlite3_close(db);
}

TEST(Dependencies, JsoncppParses) {
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    const std::string text = R"({"error":"noerror","n":"12"})";
    Json::Value root;
    std::string errors;
    ASSERT_TRUE(reader->parse(text.data(), text.data() + text.size(), &root, &errors));
    EXPECT_EQ("noerror", root.get("error", "").asString());
}

TEST(Dependencies, ZlibCrcAndMinizipLink) {
    const char data[] = "123456789";
    EXPECT_EQ(0xCBF43926u, crc32(0, reinterpret_cast<const Bytef*>(data), 9));
    EXPECT_EQ(nullptr, unzOpen("Z:\\no\\such.zip"));
}

TEST(Dependencies, StbImageRejectsGarbage) {
    unsigned char junk[16] = {1, 2, 3};
    int w, h, n;
    EXPECT_EQ(nullptr, stbi_load_from_memory(junk, sizeof junk, &w, &h, &n, 4));
}
