#include <gtest/gtest.h>
#include <windows.h>
#include <condition_variable>
#include <mutex>
#include "client/core/icons/icon_downloader.h"
#include "client/core/icons/local_icon_mgr.h"
#include "foundation/log/log.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

namespace {

// Collects callback results; Wait blocks until `n` arrived (or 20 s).
class Answers {
public:
    IconDownloader::Callback Callback() {
        return [this](int32_t id, const wchar_t* path) {
            std::lock_guard<std::mutex> lock(mutex_);
            got_.push_back({id, path ? path : L"<none>"});
            cv_.notify_all();
        };
    }
    bool Wait(size_t n) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(20), [&] { return got_.size() >= n; });
    }
    std::vector<std::pair<int32_t, std::wstring>> got() {
        std::lock_guard<std::mutex> lock(mutex_);
        return got_;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::pair<int32_t, std::wstring>> got_;
};

int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

class Icons : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service_.ok());
        SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", service_.host().c_str());
        skin_ = test_support::MakeTempDir(L"skin");
        SetIconSkinFolderForTests(skin_);
    }
    void TearDown() override { test_support::RemoveTree(skin_); }

    int Count(const std::string& path) {
        int n = 0;
        for (const auto& entry : service_.Log()) n += entry["path"].asString() == path;
        return n;
    }

    PrivateService service_;
    std::wstring skin_;
};

TEST_F(Icons, TheStoreFindsIconsAlreadyOnDisk) {
    std::wstring path;
    EXPECT_FALSE(SoftIcon::Instance().GetIconPath(3001, &path));
    // The lookup created the folder; an icon put there is found.
    ASSERT_TRUE(test_support::WriteFileBytes(skin_ + L"\\temp\\3001.png", "png"));
    ASSERT_TRUE(SoftIcon::Instance().GetIconPath(3001, &path));
    EXPECT_EQ(L"temp\\3001.png", path);
    EXPECT_FALSE(TypeIcon::Instance().GetIconPath(301, &path));
    ASSERT_TRUE(test_support::WriteFileBytes(skin_ + L"\\class\\301.png", "png"));
    ASSERT_TRUE(TypeIcon::Instance().GetIconPath(301, &path));
    EXPECT_EQ(L"class\\301.png", path);
}

TEST_F(Icons, TwoRequestsMakeOneDownloadAndALaterOneIsAnsweredAtOnce) {
    Answers answers;
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1001, answers.Callback()));
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1001, answers.Callback()));
    ASSERT_TRUE(answers.Wait(2));
    for (const auto& got : answers.got()) EXPECT_EQ(std::make_pair(1001, std::wstring(L"temp\\1001.png")), got);
    EXPECT_EQ(1, Count("/icon/1001"));
    std::string png;
    ASSERT_TRUE(test_support::ReadFileBytes(skin_ + L"\\temp\\1001.png", &png));
    EXPECT_EQ(0u, png.find("\x89PNG"));
    std::wstring stored;
    ASSERT_TRUE(SoftIcon::Instance().GetIconPath(1001, &stored));
    EXPECT_EQ(L"temp\\1001.png", stored);

    Answers cached;
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1001, cached.Callback()));
    EXPECT_EQ(1u, cached.got().size());  // before the request returned
    EXPECT_EQ(1, Count("/icon/1001"));
}

TEST_F(Icons, CategoryIconsGoToTheirOwnFolder) {
    Answers answers;
    ASSERT_TRUE(IconDownloader::Instance().RequestClassIcon(101, answers.Callback()));
    ASSERT_TRUE(answers.Wait(1));
    EXPECT_EQ(std::make_pair(101, std::wstring(L"class\\101.png")), answers.got()[0]);
    EXPECT_EQ(1, Count("/class_icon/101"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((skin_ + L"\\class\\101.png").c_str()));
}

TEST_F(Icons, FiveFailuresGiveFourRetriesOneGiveUpAndNoPath) {
    std::wstring log_dir = test_support::MakeTempDir(L"iconlog");
    std::string log_path;
    for (wchar_t c : log_dir + L"\\icons.log") log_path += static_cast<char>(c);
    ASSERT_TRUE(log_open(log_path.c_str()));
    service_.Fault("status404", "/icon/1002", 5);
    Answers answers;
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1002, answers.Callback()));
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1002, answers.Callback()));
    ASSERT_TRUE(answers.Wait(2));
    log_close();
    for (const auto& got : answers.got()) EXPECT_EQ(std::make_pair(1002, std::wstring(L"<none>")), got);
    EXPECT_EQ(5, Count("/icon/1002"));
    std::string text;
    ASSERT_TRUE(test_support::ReadFileBytes(log_dir + L"\\icons.log", &text));
    for (int attempt = 1; attempt <= 4; ++attempt) {
        std::string line = "IconDownloader::Work: download icon failed, retry times=" + std::to_string(attempt);
        EXPECT_NE(std::string::npos, text.find(line)) << line;
    }
    EXPECT_EQ(std::string::npos, text.find("retry times=5"));
    const std::string give_up = "IconDownloader::Work: download icon failed, we have try max times";
    size_t max_line = text.find(give_up);
    EXPECT_NE(std::string::npos, max_line);
    EXPECT_EQ(std::string::npos, text.find(give_up, max_line + 1));  // once
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((skin_ + L"\\temp\\1002.png").c_str()));
    test_support::RemoveTree(log_dir);

    // The next request starts afresh, and the fault is spent.
    Answers again;
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1002, again.Callback()));
    ASSERT_TRUE(again.Wait(1));
    EXPECT_EQ(L"temp\\1002.png", again.got()[0].second);
}

TEST_F(Icons, AFailedPostDropsTheWaitersWithNoPath) {
    bool accept = false;
    IconDownloader downloader([&](std::function<void()> job) {
        if (!accept) return false;
        job();  // run at once, on this thread
        return true;
    });
    Answers refused;
    EXPECT_FALSE(downloader.RequestSoftIcon(1003, refused.Callback()));
    ASSERT_EQ(1u, refused.got().size());
    EXPECT_EQ(L"<none>", refused.got()[0].second);
    accept = true;  // the dropped entry does not swallow the next request
    Answers served;
    EXPECT_TRUE(downloader.RequestSoftIcon(1003, served.Callback()));
    ASSERT_EQ(1u, served.got().size());
    EXPECT_EQ(L"temp\\1003.png", served.got()[0].second);
}

// A page's icons are asked for by one job on the pool, in the page's order,
// leaving out icons already on disk; what follows (the page posts its
// sub-categories, whose icons must queue behind) runs once they are all
// queued. Without a pool, everything happens on the caller's thread.
TEST_F(Icons, APagesIconsAreAskedInOneJobInOrderAndThenComesLast) {
    std::vector<std::function<void()>> queue;
    IconDownloader downloader([&](std::function<void()> job) {
        queue.push_back(job);
        return true;
    });
    ASSERT_TRUE(test_support::WriteFileBytes(IconFilePath(kSoftIcon, 1012), "png"));  // makes the folder
    size_t queued_before_then = 0;
    downloader.RequestSoftIconsThen({1013, 1012, 1011}, [&] { queued_before_then = queue.size(); });
    ASSERT_EQ(1u, queue.size()) << "one job for the page";
    EXPECT_EQ(0u, queued_before_then) << "nothing runs on the caller's thread";
    std::function<void()> ask = queue[0];
    queue.clear();
    ask();
    EXPECT_EQ(2u, queued_before_then) << "both downloads were queued before it";
    for (size_t i = 0; i < queue.size(); ++i) queue[i]();  // one at a time, in queue order
    std::vector<std::string> icons;
    for (const auto& entry : service_.Log()) icons.push_back(entry["path"].asString());
    EXPECT_EQ((std::vector<std::string>{"/icon/1013", "/icon/1011"}), icons);

    IconDownloader no_pool([](std::function<void()>) { return false; });
    bool ran = false;
    no_pool.RequestSoftIconsThen({1014}, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

// Icons are decoded on the thread that paints the rows. An answer whose
// picture declares far more pixels than an icon needs (small on the wire,
// seconds to decode) is refused from its header: no retry, a log line, no
// file, and every waiter gets no path, as for a missing icon. Once the
// service answers a proper icon again, the next request gets it.
TEST_F(Icons, AnAnswerDeclaringAHugePictureIsRefusedAndTheIconFallsBack) {
    struct Case {
        IconKind kind;
        int32_t id;
        const char* picture;  // WxH of the answer's picture
        bool refused;
    } cases[] = {
        {kSoftIcon, 1004, "4096x4096", true},
        {kSoftIcon, 1005, "1025x1024", true},
        {kSoftIcon, 1006, "1024x1025", true},
        {kClassIcon, 102, "6000x5000", true},
        {kSoftIcon, 1007, "1024x1024", false},  // as large as an icon may be
        {kClassIcon, 103, "256x256", false},
    };
    std::wstring log_dir = test_support::MakeTempDir(L"iconlog");
    std::string log_path;
    for (wchar_t c : log_dir + L"\\icons.log") log_path += static_cast<char>(c);
    for (const Case& c : cases) {
        const std::string url = (c.kind == kSoftIcon ? "/icon/" : "/class_icon/") + std::to_string(c.id);
        const std::wstring file = skin_ + L"\\" + IconRelativePath(c.kind, c.id);
        service_.Reset();
        service_.Fault("huge_image", url, -1, c.picture);
        ASSERT_TRUE(log_open(log_path.c_str()));
        Answers answers;
        auto request = [&](IconDownloader::Callback callback) {
            return c.kind == kSoftIcon ? IconDownloader::Instance().RequestSoftIcon(c.id, callback)
                                       : IconDownloader::Instance().RequestClassIcon(c.id, callback);
        };
        ASSERT_TRUE(request(answers.Callback()));
        ASSERT_TRUE(request(answers.Callback()));
        ASSERT_TRUE(answers.Wait(2)) << c.picture;
        log_close();
        std::string text;
        test_support::ReadFileBytes(log_dir + L"\\icons.log", &text);
        std::string size = c.picture;
        const std::string line = "IconDownloader::Work: icon " + std::to_string(c.id) +
                                 " refused, its picture declares " + size + " pixels";
        const std::wstring expected = c.refused ? L"<none>" : IconRelativePath(c.kind, c.id);
        for (const auto& got : answers.got()) EXPECT_EQ(std::make_pair(c.id, expected), got) << c.picture;
        // A fetch that fails at the transport (a loaded machine can make it)
        // is retried, each retry with its log line; a picture that arrived
        // and was refused is not fetched again, so it is refused once.
        const int fetches = Count(url);
        EXPECT_GE(fetches, 1) << c.picture;
        EXPECT_LE(fetches, 1 + Occurrences(text, "download icon failed, retry times="))
            << c.picture << ": a refused picture is not fetched again\n" << text;
        EXPECT_EQ(c.refused ? 1 : 0, Occurrences(text, line)) << c.picture << "\n" << text;
        EXPECT_EQ(c.refused, GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) << c.picture;
        if (!c.refused) continue;

        // The service mends its answer: the next request fetches the icon.
        service_.Reset();
        Answers again;
        ASSERT_TRUE(request(again.Callback()));
        ASSERT_TRUE(again.Wait(1));
        EXPECT_EQ(IconRelativePath(c.kind, c.id), again.got()[0].second) << c.picture;
    }
    test_support::RemoveTree(log_dir);
}

// A huge picture already on disk (left by an earlier run) is refused the
// same way when the store first learns of it, and removed, so the next
// request fetches the icon again.
TEST_F(Icons, AHugePictureFoundOnDiskIsRefusedAndRemoved) {
    service_.Fault("huge_image", "/icon/", -1, "3000x3000");
    const std::string huge = PlainGet(service_.port(), "/icon/1008");
    ASSERT_EQ(0u, huge.find("\x89PNG"));
    const std::string small = PlainGet(service_.port(), "/class_icon/104");
    service_.Reset();
    ASSERT_EQ(0u, small.find("\x89PNG"));

    std::wstring log_dir = test_support::MakeTempDir(L"iconlog");
    std::string log_path;
    for (wchar_t c : log_dir + L"\\icons.log") log_path += static_cast<char>(c);
    ASSERT_TRUE(log_open(log_path.c_str()));
    std::wstring path;
    EXPECT_FALSE(SoftIcon::Instance().GetIconPath(1008, &path));  // creates the folder
    ASSERT_TRUE(test_support::WriteFileBytes(skin_ + L"\\temp\\1008.png", huge));
    EXPECT_FALSE(SoftIcon::Instance().GetIconPath(1008, &path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((skin_ + L"\\temp\\1008.png").c_str()));
    EXPECT_FALSE(TypeIcon::Instance().GetIconPath(104, &path));
    ASSERT_TRUE(test_support::WriteFileBytes(skin_ + L"\\class\\104.png", small));
    ASSERT_TRUE(TypeIcon::Instance().GetIconPath(104, &path));
    EXPECT_EQ(L"class\\104.png", path);
    log_close();
    std::string text;
    test_support::ReadFileBytes(log_dir + L"\\icons.log", &text);
    EXPECT_NE(std::string::npos,
              text.find("LocalIconMgr::GetIconPath: icon 1008 refused, its picture declares 3000x3000 pixels"))
        << text;
    test_support::RemoveTree(log_dir);

    Answers answers;
    ASSERT_TRUE(IconDownloader::Instance().RequestSoftIcon(1008, answers.Callback()));
    ASSERT_TRUE(answers.Wait(1));
    EXPECT_EQ(L"temp\\1008.png", answers.got()[0].second);
    ASSERT_TRUE(SoftIcon::Instance().GetIconPath(1008, &path));
}

}  // namespace
