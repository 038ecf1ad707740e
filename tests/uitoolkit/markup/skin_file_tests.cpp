#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/markup/xml_markup.h"
#include "uitoolkit/zip/skin_files.h"
#include "uitoolkit/zip/ui_zip_reader.h"

#include <string>

using UiToolkit::CUiZipReader;
using UiToolkit::CXmlMarkup;
using UiToolkit::TUiSkinLocation;

namespace {

const size_t kCap = 4 * 1024 * 1024;

// A valid document of exactly `size` bytes.
std::string DocumentOfSize(size_t size) {
    std::string doc = "<Window>";
    doc.append(size - doc.size() - 9, ' ');
    return doc + "</Window>";
}

class SkinFileTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test_support::MakeTempDir(L"skinfile"); }
    void TearDown() override { test_support::RemoveTree(dir_); }

    TUiSkinLocation Folder() const {
        TUiSkinLocation location;
        location.resourceFolder = dir_ + L"\\";
        return location;
    }
    TUiSkinLocation Zip(const wchar_t* name) const {
        TUiSkinLocation location = Folder();
        location.skinZipName = name;
        return location;
    }
    void Write(const std::wstring& name, const std::string& bytes) {
        ASSERT_TRUE(test_support::WriteFileBytes(dir_ + L"\\" + name, bytes));
    }

    std::wstring dir_;
};

}  // namespace

TEST_F(SkinFileTest, FolderFilesLoadUpToTheCapAndFailWithTheirErrorTexts) {
    Write(L"exact.xml", DocumentOfSize(kCap));
    Write(L"over.xml", DocumentOfSize(kCap + 1));
    Write(L"empty.xml", "");
    Write(L"bad.xml", "<a x=1/>");
    struct Case {
        const wchar_t* name;
        bool loads;
        const wchar_t* error;
    } cases[] = {
        {L"exact.xml", true, L""},
        {L"over.xml", false, L"File too large"},
        {L"empty.xml", false, L"File is empty"},
        {L"missing.xml", false, L"Error opening file"},
        {L"bad.xml", false, L"Expected attribute value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CXmlMarkup doc;
        EXPECT_EQ(c.loads, doc.LoadSkinFileFrom(Folder(), c.name));
        EXPECT_STREQ(c.error, doc.LastError());
        EXPECT_EQ(c.loads, doc.RootNode().IsValid());
        EXPECT_STREQ(c.loads ? L"Window" : L"", doc.RootNode().TagName());
    }
}

TEST_F(SkinFileTest, ZippedSkinsLoadByPathAndFailWithTheirErrorTexts) {
    std::string zip = fixtures::MakeZip({
        {"skin/main.xml", "<Window caption=\"z\"/>"},
        {"skin/empty.xml", ""},
        {"skin/huge.xml", DocumentOfSize(kCap + 1)},
        {"skin/exact.xml", DocumentOfSize(kCap)},
        {"skin/damaged.xml", std::string(4000, 'q'), false},
    });
    ASSERT_FALSE(zip.empty());
    // Damage the stored entry's bytes so that its CRC-32 no longer matches.
    size_t at = zip.find(std::string(4000, 'q'));
    ASSERT_NE(std::string::npos, at);
    zip[at + 1000] = 'Q';
    Write(L"skin.zip", zip);

    struct Case {
        const wchar_t* zipName;
        const wchar_t* entry;
        bool loads;
        const wchar_t* error;
    } cases[] = {
        {L"skin.zip", L"SKIN\\Main.xml", true, L""},
        {L"skin.zip", L"skin/exact.xml", true, L""},
        {L"skin.zip", L"skin/missing.xml", false, L"Could not find ziped file"},
        {L"skin.zip", L"skin/empty.xml", false, L"File is empty"},
        {L"skin.zip", L"skin/huge.xml", false, L"File too large"},
        {L"skin.zip", L"skin/damaged.xml", false, L"Could not unzip file"},
        {L"nothere.zip", L"skin/main.xml", false, L"Error opening zip file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        CXmlMarkup doc;
        EXPECT_EQ(c.loads, doc.LoadSkinFileFrom(Zip(c.zipName), c.entry));
        EXPECT_STREQ(c.error, doc.LastError());
        EXPECT_STREQ(L"", doc.LastErrorContext());
    }

    // The zip kept open by the manager is used as it is, and stays usable.
    CUiZipReader* open = CUiZipReader::Open(UiToolkit::kZipFromMemory, zip.data(), static_cast<unsigned>(zip.size()));
    ASSERT_NE(nullptr, open);
    TUiSkinLocation location = Zip(L"nothere.zip");
    location.openZip = open;
    for (int round = 0; round < 2; ++round) {
        CXmlMarkup doc;
        ASSERT_TRUE(doc.LoadSkinFileFrom(location, L"skin/main.xml")) << doc.LastError();
        wchar_t caption[500];
        ASSERT_TRUE(doc.RootNode().ValueOf(L"caption", caption));
        EXPECT_STREQ(L"z", caption);
    }
    EXPECT_EQ(0, CUiZipReader::Close(open));
}

TEST_F(SkinFileTest, ByteOrderMarkInAFileMakesNoDifference) {
    Write(L"plain.xml", "<a t=\"\xE4\xB8\xAD\"/>");
    Write(L"bom.xml", "\xEF\xBB\xBF<a t=\"\xE4\xB8\xAD\"/>");
    for (const wchar_t* name : {L"plain.xml", L"bom.xml"}) {
        CXmlMarkup doc;
        ASSERT_TRUE(doc.LoadSkinFileFrom(Folder(), name));
        wchar_t value[500];
        ASSERT_TRUE(doc.RootNode().ValueOf(L"t", value));
        EXPECT_STREQ(L"\x4E2D", value);
    }
}
