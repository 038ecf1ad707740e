#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/zip/ui_zip_reader.h"

#include <string>
#include <vector>

using namespace UiToolkit;

namespace {

std::string Text(size_t n, int seed) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + (i * 7 + seed + i / 13) % 26));
    return s;
}

FILETIME SystemFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

uint64_t Ticks(const FILETIME& ft) { return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

const int32_t k2001 = 978307200;      // 2001-01-01 00:00:00 UTC
const int32_t k2002 = 1009843200;     // 2002-01-01
const int32_t k2003 = 1041379200;     // 2003-01-01
const int32_t k1969 = -31536000;      // 1969-01-01
const int32_t k1901 = -2145916800;    // 1902-01-01

class ZipReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        using fixtures::ZipItem;
        std::vector<ZipItem> items;
        items.push_back({"skin/main.xml", Text(5000, 1), true, fixtures::UtBlock(7, {k2001, k2002, k2003})});
        items.push_back({"skin/stored.txt", Text(300, 2), false});
        // A large unrelated block before the timestamps.
        items.push_back({"skin/padded.png", Text(64, 3), true,
                         fixtures::ExtraBlock(0x4242, std::string(200, 'x')) + fixtures::UtBlock(1, {k2002})});
        ZipItem unixReadOnly{"unix/readonly.txt", "r", false};
        unixReadOnly.versionMadeBy = 0x031E;  // made on Unix
        unixReadOnly.externalAttributes = 0100444u << 16;
        items.push_back(unixReadOnly);
        ZipItem unixWritable = unixReadOnly;
        unixWritable.name = "unix/writable.txt";
        unixWritable.externalAttributes = 0100644u << 16;
        items.push_back(unixWritable);
        ZipItem unixDir = unixReadOnly;
        unixDir.name = "unix/dir/";
        unixDir.data.clear();
        unixDir.externalAttributes = (040755u << 16);
        items.push_back(unixDir);
        // Made on Windows: the high half carries no mode and must be ignored.
        ZipItem windowsMade{"win/plain.txt", "w", false};
        windowsMade.externalAttributes = 0x20;
        items.push_back(windowsMade);
        ZipItem windowsReadOnly{"win/readonly.txt", "w", false};
        windowsReadOnly.externalAttributes = 0x21 | 0x02 | 0x04;
        items.push_back(windowsReadOnly);
        items.push_back({"old/1969.txt", "old", true, fixtures::UtBlock(3, {k1969, k1901})});
        items.push_back({std::string(256, 'n'), "long name", false});
        items.push_back({"skin/empty.txt", "", true});
        zip_ = new std::string(fixtures::MakeZip(items));
    }
    static void TearDownTestSuite() { delete zip_; }

    void SetUp() override {
        ASSERT_FALSE(zip_->empty());
        reader_ = CUiZipReader::Open(kZipFromMemory, zip_->data(), static_cast<unsigned>(zip_->size()));
        ASSERT_NE(nullptr, reader_);
    }
    void TearDown() override { EXPECT_EQ(0, CUiZipReader::Close(reader_)); }

    TUiZipEntry Find(const wchar_t* name, int expectCode = kZipOk) {
        int index = -2;
        TUiZipEntry entry{};
        EXPECT_EQ(expectCode, CUiZipReader::FindItem(reader_, name, &index, &entry)) << name;
        return entry;
    }
    std::string ExtractAll(int index, unsigned chunk) {
        std::string out;
        std::vector<char> buffer(chunk);
        for (int guard = 0; guard < 100000; ++guard) {
            int rc = CUiZipReader::Extract(reader_, buffer.data(), index, chunk);
            if (rc == kZipOk) return out;
            if (rc != kZipMore) return "error " + std::to_string(rc);
            // The reader does not say how much it delivered; a chunk of
            // one byte makes every call count.
            out.append(buffer.data(), chunk);
        }
        return "no end";
    }

    static std::string* zip_;
    CUiZipReader* reader_ = nullptr;
};

std::string* ZipReaderTest::zip_ = nullptr;

}  // namespace

TEST_F(ZipReaderTest, FindsEntriesIgnoringAsciiCaseAndSlashDirection) {
    struct Case {
        const wchar_t* name;
        int code;
        int index;
    } cases[] = {
        {L"skin/main.xml", kZipOk, 0},
        {L"SKIN\\MAIN.XML", kZipOk, 0},
        {L"Skin\\Stored.Txt", kZipOk, 1},
        {L"skin/main.xm", kZipNotFound, -1},
        {L"main.xml", kZipNotFound, -1},
        {L"", kZipNotFound, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int index = -2;
        TUiZipEntry entry{};
        entry.index = 99;
        EXPECT_EQ(c.code, CUiZipReader::FindItem(reader_, c.name, &index, &entry));
        EXPECT_EQ(c.index, index);
        EXPECT_EQ(c.code == kZipOk ? c.index : 99, entry.index);  // not filled on failure
    }
    TUiZipEntry entry = Find(L"skin\\main.xml");
    EXPECT_STREQ(L"skin/main.xml", entry.name);
    EXPECT_EQ(5000, entry.uncompressedSize);
    EXPECT_LT(entry.compressedSize, 5000);
}

TEST_F(ZipReaderTest, NamesOf256CharactersAreNotLookedUpButStillDescribed) {
    std::wstring longName(256, L'n');
    Find(longName.c_str(), kZipNotFound);
    TUiZipEntry entry{};
    ASSERT_EQ(kZipOk, CUiZipReader::ItemInfo(reader_, 9, &entry));
    EXPECT_EQ(longName, entry.name);
}

TEST_F(ZipReaderTest, SummaryAndIndexBounds) {
    TUiZipEntry summary{};
    ASSERT_EQ(kZipOk, CUiZipReader::ItemInfo(reader_, -1, &summary));
    EXPECT_EQ(11, summary.index);
    EXPECT_STREQ(L"", summary.name);
    EXPECT_EQ(0, summary.uncompressedSize);
    char buffer[8];
    EXPECT_EQ(kZipBadArgument, CUiZipReader::ItemInfo(reader_, 11, &summary));
    EXPECT_EQ(kZipBadArgument, CUiZipReader::ItemInfo(reader_, -2, &summary));
    EXPECT_EQ(kZipBadArgument, CUiZipReader::Extract(reader_, buffer, 11, sizeof buffer));
    EXPECT_EQ(kZipBadArgument, CUiZipReader::Extract(reader_, buffer, -1, sizeof buffer));
    EXPECT_EQ(kZipBadArgument, CUiZipReader::FindItem(nullptr, L"x", nullptr, nullptr));
    EXPECT_EQ(kZipBadArgument, CUiZipReader::Extract(nullptr, buffer, 0, sizeof buffer));
    EXPECT_EQ(kZipBadArgument, CUiZipReader::Close(nullptr));
}

TEST_F(ZipReaderTest, AttributesFollowTheHostThatMadeTheArchive) {
    struct Case {
        const wchar_t* name;
        DWORD attributes;
    } cases[] = {
        {L"unix/readonly.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY},
        {L"unix/writable.txt", FILE_ATTRIBUTE_NORMAL},
        {L"unix/dir/", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY},
        {L"win/plain.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE},
        {L"win/readonly.txt", 0x80 | 0x20 | 0x01 | 0x02 | 0x04},
        {L"skin/stored.txt", FILE_ATTRIBUTE_NORMAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.attributes, Find(c.name).attributes);
    }
}

TEST_F(ZipReaderTest, TimesComeFromTheUtBlockOrTheDosTime) {
    const FILETIME dos = [] {
        FILETIME ft{};
        DosDateTimeToFileTime(0x2121, 0x0000, &ft);
        return ft;
    }();
    struct Case {
        const wchar_t* name;
        FILETIME write, access, creation;
    } cases[] = {
        {L"skin/main.xml", SystemFileTime(2001, 1, 1, 0, 0, 0), SystemFileTime(2002, 1, 1, 0, 0, 0),
         SystemFileTime(2003, 1, 1, 0, 0, 0)},
        {L"skin/padded.png", SystemFileTime(2002, 1, 1, 0, 0, 0), dos, dos},
        {L"old/1969.txt", SystemFileTime(1969, 1, 1, 0, 0, 0), SystemFileTime(1902, 1, 1, 0, 0, 0), dos},
        {L"skin/stored.txt", dos, dos, dos},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TUiZipEntry entry = Find(c.name);
        EXPECT_EQ(Ticks(c.write), Ticks(entry.writeTime));
        EXPECT_EQ(Ticks(c.access), Ticks(entry.accessTime));
        EXPECT_EQ(Ticks(c.creation), Ticks(entry.creationTime));
    }
}

TEST(ZipReaderTimes, UtBlocksAreReadOnlyInsideTheirBounds) {
    // Flags promise three times but the block holds one.
    std::string truncated = fixtures::ExtraBlock(0x5455, std::string("\x07\x00\x00\x00\x00", 5));
    // The block claims more bytes than the field has.
    std::string overlong = fixtures::UtBlock(1, {k2001});
    overlong[2] = 60;
    struct Case {
        std::string extra;
        bool writeSet;
        bool accessSet;
    } cases[] = {{truncated, true, false}, {overlong, true, false}, {std::string("UT\x05"), false, false}};
    for (const Case& c : cases) {
        TUiZipEntry entry{};
        CUiZipReader::ApplyExtendedTimes(reinterpret_cast<const unsigned char*>(c.extra.data()),
                                         static_cast<unsigned>(c.extra.size()), &entry);
        EXPECT_EQ(c.writeSet, Ticks(entry.writeTime) != 0);
        EXPECT_EQ(c.accessSet, Ticks(entry.accessTime) != 0);
    }
    EXPECT_EQ(116444736000000000ULL, Ticks(CUiZipReader::UnixTimeToFileTime(0)));
    EXPECT_EQ(116444736000000000ULL - 10000000ULL, Ticks(CUiZipReader::UnixTimeToFileTime(-1)));
}

TEST_F(ZipReaderTest, StoredAndDeflatedEntriesExtractWholeAndInChunks) {
    struct Case {
        const wchar_t* name;
        std::string content;
    } cases[] = {{L"skin/main.xml", Text(5000, 1)}, {L"skin/stored.txt", Text(300, 2)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int index = -1;
        TUiZipEntry entry{};
        ASSERT_EQ(kZipOk, CUiZipReader::FindItem(reader_, c.name, &index, &entry));
        // Exactly the entry's size: all bytes at once, then the end.
        std::string whole(entry.uncompressedSize, '\0');
        EXPECT_EQ(kZipMore, CUiZipReader::Extract(reader_, &whole[0], index, static_cast<unsigned>(whole.size())));
        EXPECT_EQ(c.content, whole);
        EXPECT_EQ(kZipOk, CUiZipReader::Extract(reader_, &whole[0], index, static_cast<unsigned>(whole.size())));
        // One byte at a time, continuing where each call stopped.
        EXPECT_EQ(c.content, ExtractAll(index, 1));
        std::string again(entry.uncompressedSize, '\0');
        EXPECT_EQ(kZipOk, CUiZipReader::ExtractWhole(reader_, index, &again[0], static_cast<unsigned>(again.size())));
        EXPECT_EQ(c.content, again);
    }
    // Moving to another entry in the middle of one closes the first.
    char head[10];
    EXPECT_EQ(kZipMore, CUiZipReader::Extract(reader_, head, 0, sizeof head));
    EXPECT_EQ(Text(300, 2), ExtractAll(1, 1));
    EXPECT_EQ(Text(5000, 1), ExtractAll(0, 1));
    // An empty entry ends at once.
    TUiZipEntry empty = Find(L"skin/empty.txt");
    EXPECT_EQ(0, empty.uncompressedSize);
    EXPECT_EQ(kZipOk, CUiZipReader::Extract(reader_, head, empty.index, sizeof head));
}

TEST_F(ZipReaderTest, ArchivesFromFilesReadFromTheirStartPosition) {
    std::wstring dir = test_support::MakeTempDir(L"zipfile");
    std::wstring path = dir + L"\\skin.zip";
    ASSERT_TRUE(test_support::WriteFileBytes(path, *zip_));
    CUiZipReader* file = CUiZipReader::Open(kZipFromFile, path.c_str(), 0);
    ASSERT_NE(nullptr, file);
    int index = -1;
    TUiZipEntry entry{};
    ASSERT_EQ(kZipOk, CUiZipReader::FindItem(file, L"skin/main.xml", &index, &entry));
    std::string whole(entry.uncompressedSize, '\0');
    EXPECT_EQ(kZipOk, CUiZipReader::ExtractWhole(file, index, &whole[0], static_cast<unsigned>(whole.size())));
    EXPECT_EQ(Text(5000, 1), whole);
    EXPECT_EQ(0, CUiZipReader::Close(file));
    EXPECT_EQ(nullptr, CUiZipReader::Open(kZipFromFile, (dir + L"\\missing.zip").c_str(), 0));
    test_support::RemoveTree(dir);
}

TEST(ZipReaderDamage, FilesThatAreNotZipsGiveNoHandle) {
    const std::string good = fixtures::MakeZip({{"a.txt", "hello"}});
    std::string farDirectory = good;
    size_t end = fixtures::FindSignature(farDirectory, 0x06054b50);
    ASSERT_NE(std::string::npos, end);
    fixtures::WriteLe32(&farDirectory, end + 16, 0x7FFFFFF0);  // central directory far past the block
    std::vector<std::string> cases = {"", "PK", "not a zip archive at all", std::string(100, '\0'), farDirectory};
    // Every cut into the end record: short reads must not pass for zeros.
    for (size_t cut = 1; cut <= 22; ++cut) cases.push_back(good.substr(0, good.size() - cut));
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        CUiZipReader* reader =
            CUiZipReader::Open(kZipFromMemory, bytes.empty() ? "" : bytes.data(), static_cast<unsigned>(bytes.size()));
        EXPECT_EQ(nullptr, reader);
        if (reader) CUiZipReader::Close(reader);
    }
    EXPECT_EQ(nullptr, CUiZipReader::Open(7, good.data(), static_cast<unsigned>(good.size())));
    EXPECT_EQ(nullptr, CUiZipReader::Open(kZipFromMemory, nullptr, 10));
}

TEST(ZipReaderDamage, ShortCorruptOrMismatchedEntriesFailInsteadOfPassing) {
    const std::string content = Text(2000, 5);
    struct Case {
        const char* what;
        bool deflate;
        int expectInfo;  // from ItemInfo
        int expectWhole;  // from ExtractWhole
    } cases[] = {
        {"flipped stored byte", false, kZipOk, kZipInflateFailed},
        {"flipped deflated byte", true, kZipOk, kZipInflateFailed},
        {"declared longer than stored data", false, kZipOk, kZipInflateFailed},
        {"declared longer than deflated data", true, kZipOk, kZipInflateFailed},
        {"local method differs", true, kZipBadLocalHeader, kZipBadLocalHeader},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string zip = fixtures::MakeZip({{"e.bin", content, c.deflate}});
        size_t local = fixtures::FindSignature(zip, 0x04034b50);
        size_t central = fixtures::FindSignature(zip, 0x02014b50);
        ASSERT_NE(std::string::npos, local);
        ASSERT_NE(std::string::npos, central);
        std::string what = c.what;
        if (what.find("flipped") == 0) {
            size_t data = local + 30 + (zip[local + 26] & 0xFF) + (zip[local + 28] & 0xFF);
            zip[data + 40] ^= 0x55;
        } else if (what.find("declared longer") == 0) {
            fixtures::WriteLe32(&zip, local + 22, fixtures::ReadLe32(zip, local + 22) + 50);
            fixtures::WriteLe32(&zip, central + 24, fixtures::ReadLe32(zip, central + 24) + 50);
        } else {
            fixtures::WriteLe16(&zip, local + 8, 0);
        }
        CUiZipReader* reader = CUiZipReader::Open(kZipFromMemory, zip.data(), static_cast<unsigned>(zip.size()));
        ASSERT_NE(nullptr, reader);
        TUiZipEntry entry{};
        EXPECT_EQ(c.expectInfo, CUiZipReader::ItemInfo(reader, 0, &entry));
        const unsigned size = static_cast<unsigned>(content.size() + 50);
        std::vector<char> buffer(size, '\x7F');
        const unsigned declared = c.expectInfo == kZipOk ? static_cast<unsigned>(entry.uncompressedSize) : size;
        EXPECT_EQ(c.expectWhole, CUiZipReader::ExtractWhole(reader, 0, buffer.data(), declared));
        // The handle stays usable after a failed extraction.
        EXPECT_EQ(kZipOk, CUiZipReader::ItemInfo(reader, -1, &entry));
        EXPECT_EQ(1, entry.index);
        EXPECT_EQ(0, CUiZipReader::Close(reader));
    }
}
