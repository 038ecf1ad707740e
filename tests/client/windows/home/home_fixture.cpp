#include "tests/client/windows/home/home_fixture.h"

#include <wchar.h>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/user_services/collect.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/core/version/version_mgr.h"
#include "client/windows/login/login_request.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/page_factories.h"
#include "client/windows/main_frame_messages.h"
#include "tests/support/test_support.h"

std::wstring HomeTest::data_dir_;

UiToolkit::CControlUI* HomeFrame::CreateCustomControl(const wchar_t* tag) {
    if (wcscmp(tag, L"home_page") == 0) {
        UiToolkit::CControlUI* page = CreateMainFramePage(tag);
        home = page ? static_cast<HomePage*>(page->FindInterface(L"HomePage")) : nullptr;
        return page;
    }
    for (int i = 0; i < kTabCount; ++i) {
        if (wcscmp(tag, kMainFramePageTags[i]) == 0) return pages[i] = new wintest::RecordingPage(tag);
    }
    return nullptr;
}

int TypeRecorder::Count(const wchar_t* type) const {
    int n = 0;
    for (const std::wstring& t : types) n += t == type;
    return n;
}

void HomeTest::SetUpTestSuite() {
    wintest::UseDistSkin();
    (void)LogCapture();  // opens the log file once
    data_dir_ = test_support::MakeTempDir(L"home");
    ::CreateDirectoryW((data_dir_ + L"\\data").c_str(), nullptr);
    ConfMgr::SetProgramFolderForTest(data_dir_ + L"\\");
    VersionMgr::SetVdbPathForTests(data_dir_ + L"\\data\\vdb.dat");
}

void HomeTest::TearDownTestSuite() { test_support::RemoveTree(data_dir_); }

void HomeTest::SetUp() {
    MainFrameFlags::ResetForTests();
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    ConfMgr::SetAutoLogin(false);
    // Each test's user starts with no schemes known.
    SchemeMgr::Instance().ClearCache();
    services_.reset(new PrivateService);
    ASSERT_TRUE(services_->ok());
    for (const wchar_t* var : {L"VANTREL_CATALOGUE_HOST", L"VANTREL_LOGIN_HOST", L"VANTREL_USER_HOST"})
        ::SetEnvironmentVariableW(var, services_->host().c_str());
}

void HomeTest::TearDown() {
    Close();
    // The favourite marks of one test are not the next test's.
    Collect::ClearAll();
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    services_.reset();
}

HomeFrame* HomeTest::Open() {
    frame_ = new HomeFrame;
    EXPECT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635));
    frame_->CenterOnOwner();
    ::ShowWindow(frame_->GetHWND(), SW_SHOW);
    EXPECT_TRUE(wintest::PumpUntil([&] { return frame_->pages[0]->Count(L"windowinit") > 0; }, 10000));
    EXPECT_NE(nullptr, frame_->home);
    return frame_;
}

void HomeTest::Close() {
    if (!frame_) return;
    if (frame_->GetHWND()) ::DestroyWindow(frame_->GetHWND());
    wintest::Pump(50);
    delete frame_;
    frame_ = nullptr;
}

MyCollect* HomeTest::Favourites() {
    UiToolkit::CTabLayoutUI* tabs = home() ? home()->TabSwitch() : nullptr;
    if (!tabs || tabs->GetCount() < 2) return nullptr;
    auto* holder = static_cast<UiToolkit::IContainerUI*>(tabs->GetItemAt(1)->FindInterface(L"IContainer"));
    UiToolkit::CControlUI* first = holder && holder->GetCount() ? holder->GetItemAt(0) : nullptr;
    return first ? static_cast<MyCollect*>(first->FindInterface(L"MyCollect")) : nullptr;
}

std::vector<int> HomeTest::RowIds() {
    std::vector<int> ids;
    UiToolkit::CListUI* list = CollectList();
    for (int i = 0; list && i < list->GetCount(); ++i) {
        auto* row = static_cast<CollectItem*>(list->GetItemAt(i)->FindInterface(L"CollectItem"));
        ids.push_back(row ? row->SoftId() : -1);
    }
    return ids;
}

std::wstring HomeTest::Text(const wchar_t* name) {
    UiToolkit::CControlUI* c = frame_->Find(name);
    return c ? std::wstring(c->GetText().GetData()) : L"<missing>";
}

bool HomeTest::LogIn(const std::string& account, const std::string& password) {
    std::wstring wide;
    int n = ::MultiByteToWideChar(CP_UTF8, 0, account.c_str(), -1, nullptr, 0);
    wide.resize(n > 0 ? n - 1 : 0);
    if (n > 1) ::MultiByteToWideChar(CP_UTF8, 0, account.c_str(), -1, &wide[0], n);
    if (RequestLogin(wide, password) != LoginResult::kAccepted) return false;
    LoginSession::Instance().set_state(LoginSession::kLoggedIn);
    ::PostMessageW(hwnd(), WM_LOGIN_SUCCEEDED, 0, 0);
    ::PostMessageW(hwnd(), WM_LOGIN_POST, 0, 0);
    wintest::Pump(200);
    return true;
}

void HomeTest::ShowFavourites() {
    if (frame_->SelectedTab() != MainFrameWnd::kHomeTab) frame_->ShowTab(MainFrameWnd::kHomeTab);
    wintest::Pump(50);
    wintest::ClickControl(hwnd(), frame_->Find(L"my_collect"));
    // The click runs the loading window's modal loop inside the pump.
    wintest::PumpUntil([&] { return CollectList() && CollectList()->GetCount() > 0; }, 3000);
    wintest::PumpUntil([] { return wintest::CountOwnWindows(L"loading_wnd") == 0; }, 5000);
    wintest::Pump(100);
}

void HomeTest::SetFavourites(const std::string& account, const std::string& ids) {
    PlainGet(services_->port(), "/_user/favourites?account=" + account + "&ids=" + ids);
}
