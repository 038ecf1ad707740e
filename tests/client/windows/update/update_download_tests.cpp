// The self-update's download against scripted sources: progress, the one
// message that ends it, the file it leaves (or not), and stops from the UI
// thread that never wait for the worker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/windows/update/setup_file_name.h"
#include "client/windows/update/update_download.h"
#include "tests/client/windows/update/update_source_stand_in.h"
#include "tests/support/test_support.h"

namespace {

typedef std::vector<std::string> Posts;

TEST(SetupFileName, TheLastPartOfTheAddressWhenItIsAFileName) {
    const struct {
        const wchar_t* address;
        const wchar_t* name;  // none: refused
    } cases[] = {
        {L"http://host/setup/vantrel_setup_1.0.2.8.exe", L"vantrel_setup_1.0.2.8.exe"},
        {L"vantrel_setup.exe", L"vantrel_setup.exe"},
        {L"http://host/dir\\..\\setup.exe", L"setup.exe"},
        {L"http://host/setup/", nullptr},
        {L"", nullptr},
        {L"http://host/setup/..", nullptr},
        {L"http://host/setup/.", nullptr},
        {L"http://host/setup.exe?v=2", nullptr},
        {L"http://host/a:b.exe", nullptr},
        {L"http://host/con.exe", nullptr},
        {L"http://host/setup.exe.", nullptr},
        {L"http://host/setup\x01.exe", nullptr},
    };
    for (const auto& c : cases) {
        std::wstring name = L"unchanged";
        EXPECT_EQ(c.name != nullptr, SetupFileNameOf(c.address, &name)) << c.address;
        EXPECT_EQ(c.name ? c.name : L"unchanged", name) << c.address;
    }
    std::wstring long_name(240, L'a');
    EXPECT_FALSE(SetupFileNameOf(L"http://host/" + long_name + L".exe", &long_name));

    std::wstring path;
    EXPECT_TRUE(SetupFilePath(L"C:\\Soft\\Downloads", L"http://h/s.exe", &path));
    EXPECT_EQ(L"C:\\Soft\\Downloads\\s.exe", path);
    EXPECT_TRUE(SetupFilePath(L"C:\\Soft\\", L"http://h/s.exe", &path));
    EXPECT_EQ(L"C:\\Soft\\s.exe", path);
    EXPECT_FALSE(SetupFilePath(L"C:\\" + std::wstring(250, L'd'), L"http://h/setup.exe", &path));
    EXPECT_FALSE(SetupFilePath(L"", L"http://h/setup.exe", &path));
}

class UpdateDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test_support::MakeTempDir(L"update");
        path_ = dir_ + L"\\setup.exe";
        gone_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"VANTREL_TEST_UPDATE_WRITE_LIMIT", nullptr);
        ::CloseHandle(gone_);
        test_support::RemoveTree(dir_);
    }
    // Runs a whole download on this thread.
    Posts RunScript(SourceScript script) {
        script.gone = gone_;
        auto download = std::make_shared<UpdateDownload>(box_.hwnd(), L"http://h/setup.exe", path_, StandIn(script));
        EXPECT_TRUE(download->CreateLocalFile());
        download->Run();
        return box_.Take();
    }
    bool FileThere() const { return ::GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string FileBytes() const {
        std::string bytes;
        test_support::ReadFileBytes(path_, &bytes);
        return bytes;
    }

    PostBox box_;
    std::wstring dir_, path_;
    HANDLE gone_ = nullptr;
};

TEST_F(UpdateDownloadTest, ThreePiecesOfTwentyThousandBytes) {
    SourceScript script;
    script.pieces = {8192, 8192, 3616};
    EXPECT_EQ((Posts{"p40", "p81", "p100", "done"}), RunScript(script));
    EXPECT_EQ(SetupBytes(20000), FileBytes());
}

TEST_F(UpdateDownloadTest, AnOlderLongerFileIsReplacedWhole) {
    ASSERT_TRUE(test_support::WriteFileBytes(path_, std::string(50000, 'x')));
    SourceScript script;
    script.pieces = {8192, 8192, 3616};
    EXPECT_EQ((Posts{"p40", "p81", "p100", "done"}), RunScript(script));
    EXPECT_EQ(SetupBytes(20000), FileBytes());
}

TEST_F(UpdateDownloadTest, EachFailureEndsWithOneMessageAndNoFile) {
    struct Case {
        const char* what;
        SourceScript script;
        const char* write_limit;
        Posts posts;
    };
    auto script = [](std::vector<int> pieces) {
        SourceScript s;
        s.pieces = pieces;
        return s;
    };
    std::vector<Case> cases;
    {
        SourceScript s = script({8192});
        s.opens = false;
        cases.push_back({"no connection", s, nullptr, {"net"}});
    }
    {
        SourceScript s = script({8192});
        s.status = 404;
        cases.push_back({"status 404", s, nullptr, {"net"}});
    }
    {
        SourceScript s = script({8192});
        s.has_length = false;
        cases.push_back({"no length", s, nullptr, {"net"}});
    }
    {
        SourceScript s = script({8192});
        s.length = 0;
        cases.push_back({"length 0", s, nullptr, {"net"}});
    }
    cases.push_back({"a read fails", script({8192, -1, 3616}), nullptr, {"p40", "net"}});
    cases.push_back({"the body ends short", script({8192, 8192, 0}), nullptr, {"p40", "p81", "net"}});
    cases.push_back({"the body is longer", script({8192, 8192, 8192}), nullptr, {"p40", "p81", "net"}});
    cases.push_back({"a write fails", script({8192, 8192, 3616}), "10000", {"p40", "file"}});
    for (const Case& c : cases) {
        const std::string limit = c.write_limit ? c.write_limit : "";
        ::SetEnvironmentVariableW(L"VANTREL_TEST_UPDATE_WRITE_LIMIT",
                                  c.write_limit ? std::wstring(limit.begin(), limit.end()).c_str() : nullptr);
        EXPECT_EQ(c.posts, RunScript(c.script)) << c.what;
        EXPECT_FALSE(FileThere()) << c.what;
    }
}

TEST_F(UpdateDownloadTest, AFileThatCannotBeCreatedStartsNothing) {
    ASSERT_TRUE(::CreateDirectoryW(path_.c_str(), nullptr));  // a folder of that name
    StandInSource::opens = 0;
    auto download = std::make_shared<UpdateDownload>(box_.hwnd(), L"http://h/setup.exe", path_, StandIn(SourceScript()));
    EXPECT_EQ(UpdateDownload::kFileFailed, download->Start());
    ::Sleep(100);
    EXPECT_EQ(0, StandInSource::opens.load());
    EXPECT_TRUE(box_.Take().empty());
}

TEST_F(UpdateDownloadTest, AStopNeverWaitsAndLeavesNothing) {
    // Stopped while the connection is made, and while a read waits.
    for (int where : {0, 1}) {
        HANDLE hold = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ::ResetEvent(gone_);
        SourceScript script;
        script.pieces = {8192, 8192, 3616};
        script.gone = gone_;
        if (where == 0) script.hold_open = hold;
        if (where == 1) {
            script.hold_read = 1;
            script.hold = hold;
        }
        const int opens_before = StandInSource::opens.load();
        auto download = std::make_shared<UpdateDownload>(box_.hwnd(), L"http://h/setup.exe", path_, StandIn(script));
        ASSERT_EQ(UpdateDownload::kStarted, download->Start());
        if (where == 0) {
            // The worker is inside Open: a stop before it gets there would
            // end it without a connection, which is not the case tested.
            for (int i = 0; i < 1000 && StandInSource::opens.load() == opens_before; ++i) ::Sleep(10);
            ASSERT_NE(opens_before, StandInSource::opens.load());
        }
        if (where == 1) {
            // The first piece has arrived.
            bool first_piece = false;
            for (int i = 0; i < 1000 && !first_piece; ++i) {
                first_piece = box_.Take() == Posts{"p40"};
                if (!first_piece) ::Sleep(10);
            }
            ASSERT_TRUE(first_piece);
        }
        EXPECT_TRUE(FileThere());
        download->Stop();
        // The worker is still held in its open or read: the stop returned
        // without waiting for it.
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(gone_, 0))
            << "a stop waits for nothing: " << where;
        EXPECT_FALSE(FileThere()) << "the partial file goes with the stop: " << where;
        download.reset();  // the window is gone; the worker keeps what it needs
        ::SetEvent(hold);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(gone_, 10000));
        EXPECT_FALSE(FileThere()) << where;
        ::Sleep(50);
        EXPECT_TRUE(box_.Take().empty()) << "a stopped download posts nothing: " << where;
        ::CloseHandle(hold);
    }
}

TEST_F(UpdateDownloadTest, AFinishedFileStaysOnlyOnceHandedOver) {
    for (bool hand_over : {true, false}) {
        SourceScript script;
        script.pieces = {8192, 8192, 3616};
        auto download = std::make_shared<UpdateDownload>(box_.hwnd(), L"http://h/setup.exe", path_, StandIn(script));
        ASSERT_TRUE(download->CreateLocalFile());
        download->Run();
        ASSERT_EQ((Posts{"p40", "p81", "p100", "done"}), box_.Take());
        if (hand_over) download->HandOver();
        download->Stop();  // the window closes, or the client quits
        EXPECT_EQ(hand_over, FileThere()) << hand_over;
        ::DeleteFileW(path_.c_str());
    }
}

}  // namespace
