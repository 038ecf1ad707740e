#include "tests/client/windows/main/main_frame_fixture.h"

#include <wchar.h>

#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/version/version_mgr.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/page_factories.h"
#include "tests/support/test_support.h"

std::wstring MainFrameTest::data_dir_;

UiToolkit::CControlUI* TestMainFrame::CreateCustomControl(const wchar_t* tag) {
    return defer_pages ? MainFrameWnd::CreateCustomControl(tag) : CreatePage(tag);
}

UiToolkit::CControlUI* TestMainFrame::CreatePage(const wchar_t* tag) {
    if (make_page_) {
        if (UiToolkit::CControlUI* page = make_page_(tag)) return page;
    }
    for (int i = 0; i < kTabCount; ++i) {
        if (wcscmp(tag, kMainFramePageTags[i]) == 0) return pages[i] = new wintest::RecordingPage(tag);
    }
    return nullptr;
}

bool TestMainFrame::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    OnOtherMessage(msg, wParam, lParam, handled);
    return handled;
}

UiToolkit::CButtonUI* TestMainFrame::Button(const wchar_t* name) {
    UiToolkit::CControlUI* c = Find(name);
    return c ? static_cast<UiToolkit::CButtonUI*>(c->FindInterface(L"Button")) : nullptr;
}

namespace {
// Wine shows its tray in a window of its own, which it hides when the last
// icon goes (waiting seconds for a window manager): an icon of the suite's
// own keeps that window, and the tests fast.
HWND g_keeper = nullptr;
void KeepTrayShown() {
    g_keeper = ::CreateWindowExW(0, L"STATIC", L"keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = g_keeper;
    nid.uID = 77;
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    wcscpy(nid.szTip, L"keeper");
    ::Shell_NotifyIconW(NIM_ADD, &nid);
}
}  // namespace

void MainFrameTest::SetUpTestSuite() {
    wintest::UseDistSkin();
    if (!g_keeper) KeepTrayShown();
    data_dir_ = test_support::MakeTempDir(L"mainframe");
    ::CreateDirectoryW((data_dir_ + L"\\data").c_str(), nullptr);
    ConfMgr::SetProgramFolderForTest(data_dir_ + L"\\");
    VersionMgr::SetVdbPathForTests(data_dir_ + L"\\data\\vdb.dat");
    // No test reaches a real host by accident.
    ::SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", L"127.0.0.1:9");
}

void MainFrameTest::TearDownTestSuite() { test_support::RemoveTree(data_dir_); }

void MainFrameTest::SetUp() {
    MainFrameFlags::ResetForTests();
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    ConfMgr::SetAutoLogin(false);
    // An auto-login that a test turns on finds no account: it sends nothing.
    ConfMgr::SetUser(L"");
    ConfMgr::SetPassword(L"");
    ::SetEnvironmentVariableW(L"VANTREL_LOGIN_HOST", L"127.0.0.1:9");
    VersionMgr::ResetForTests();
    ::DeleteFileW((data_dir_ + L"\\data\\vdb.dat").c_str());
    ::SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", L"127.0.0.1:9");
}

void MainFrameTest::TearDown() { Close(); }

TestMainFrame* MainFrameTest::Open(bool start_up_jobs) {
    frame_ = new TestMainFrame(start_up_jobs, make_page_);
    frame_->defer_pages = defer_pages_;
    EXPECT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635));
    if (on_open_) on_open_();
    frame_->CenterOnOwner();
    ::ShowWindow(frame_->GetHWND(), SW_SHOW);
    EXPECT_TRUE(wintest::PumpUntil([&] { return page(0).Count(L"windowinit") > 0; }, 10000));
    return frame_;
}

void MainFrameTest::Close() {
    if (!frame_) return;
    if (frame_->GetHWND()) ::DestroyWindow(frame_->GetHWND());
    wintest::Pump(50);
    delete frame_;
    frame_ = nullptr;
}

std::string MainFrameTest::PagesReached() {
    for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
    frame_->manager().EmitNotify(nullptr, L"probe");
    std::string reached;
    for (int i = 0; i < MainFrameWnd::kTabCount; ++i) {
        if (page(i).Count(L"probe")) reached += static_cast<char>('0' + i);
    }
    return reached;
}

std::wstring MainFrameTest::Text(const wchar_t* name) {
    UiToolkit::CControlUI* c = frame_->Find(name);
    return c ? std::wstring(c->GetText().GetData()) : L"<missing>";
}

void MainFrameTest::Drain() {
    ::PostMessageW(hwnd(), WM_NULL, 0, 0);
    wintest::Pump(30);
}

PrivateService& MainFrameTest::Services() {
    if (!services_) {
        services_.reset(new PrivateService);
        EXPECT_TRUE(services_->ok());
        ::SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", services_->host().c_str());
    }
    return *services_;
}
