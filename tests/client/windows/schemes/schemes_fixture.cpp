#include "tests/client/windows/schemes/schemes_fixture.h"

#include "client/core/reports/login_session.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/windows/home/home_page.h"
#include "client/windows/login/login_windows.h"
#include "client/windows/main/main_frame_wnd.h"
#include "tests/support/test_support.h"

std::string SchemesTest::LogText() {
    std::string text;
    test_support::ReadFileBytes(folder_ + L"\\data\\vantrel.log", &text);
    return text.size() > log_start_ ? text.substr(log_start_) : std::string();
}

void SchemesTest::SetUp() {
    CatalogueTest::SetUp();
    SchemeMgr::Instance().ClearCache();
    std::string text;
    test_support::ReadFileBytes(folder_ + L"\\data\\vantrel.log", &text);
    log_start_ = text.size();
}

void SchemesTest::TearDown() {
    CatalogueTest::TearDown();
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    SchemeMgr::Instance().ClearCache();
}

void SchemesTest::OpenLoggedIn(int rows) {
    Open();
    ASSERT_EQ(LoginSession::kLoggedIn, LoginWithTypedAccount(L"kelvora", L"secret", false, false));
    frame_->ShowTab(MainFrameWnd::kHomeTab);
    ASSERT_TRUE(wintest::PumpUntil([&] { return SchemeRows() == rows; }, 10000))
        << "scheme rows: " << SchemeRows();
}

MyScheme* SchemesTest::Schemes() {
    UiToolkit::CControlUI* page = frame_ ? frame_->PageOfTab(MainFrameWnd::kHomeTab) : nullptr;
    // The schemes page is the home page's first sub-page.
    HomePage* home = page ? static_cast<HomePage*>(page->FindInterface(L"HomePage")) : nullptr;
    UiToolkit::CTabLayoutUI* tabs = home ? home->TabSwitch() : nullptr;
    UiToolkit::CControlUI* item = tabs && tabs->GetCount() > 0 ? tabs->GetItemAt(0) : nullptr;
    auto* holder = item ? static_cast<UiToolkit::IContainerUI*>(item->FindInterface(L"IContainer")) : nullptr;
    UiToolkit::CControlUI* first = holder && holder->GetCount() > 0 ? holder->GetItemAt(0) : nullptr;
    return first ? static_cast<MyScheme*>(first->FindInterface(L"MyScheme")) : nullptr;
}

int SchemesTest::SchemeRows() {
    MyScheme* page = Schemes();
    return page && page->SchemeList() ? page->SchemeList()->GetCount() : -1;
}

int SchemesTest::SoftRows() {
    MyScheme* page = Schemes();
    return page && page->SoftList() ? page->SoftList()->GetCount() : -1;
}

MySchemeItem* SchemesTest::SchemeRow(int index) {
    UiToolkit::CControlUI* row = Schemes()->SchemeList()->GetItemAt(index);
    return row ? static_cast<MySchemeItem*>(row->FindInterface(L"MySchemeItem")) : nullptr;
}

SchemeSoftItem* SchemesTest::SoftRow(int index) {
    UiToolkit::CControlUI* row = Schemes()->SoftList()->GetItemAt(index);
    return row ? static_cast<SchemeSoftItem*>(row->FindInterface(L"SchemeSoftItem")) : nullptr;
}

MySchemeItem* SchemesTest::SchemeNamed(const std::wstring& name) {
    for (int i = 0; i < SchemeRows(); ++i) {
        MySchemeItem* row = SchemeRow(i);
        if (row && row->Name() == name) return row;
    }
    return nullptr;
}

void SchemesTest::SendToPage(const wchar_t* type, UiToolkit::CControlUI* sender, WPARAM wParam,
                             LPARAM lParam) {
    UiToolkit::TUiNotify msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    static_cast<UiToolkit::INotifyUI*>(Schemes())->Notify(msg);
}

void SchemesTest::OpenScheme(MySchemeItem* row, int softs) {
    ASSERT_NE(nullptr, row);
    ClickOnPage(row->LookButton());
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return Schemes()->PageSwitch()->GetCurSel() == 1 && SoftRows() == softs; }, 10000))
        << "program rows: " << SoftRows();
}

void SchemesTest::Refuse(const std::string& mod, int count) {
    PlainGet(services_->port(), "/_user/refuse?mod=" + mod + "&count=" + std::to_string(count));
}

int SchemesTest::UserRequests(const std::string& mod) {
    int n = 0;
    for (const std::string& r : Requests()) {
        if (r.rfind("/userservice.aspx?", 0) != 0) continue;
        n += r.find("?mod=" + mod + "&") != std::string::npos;
    }
    return n;
}

std::string SchemesTest::LastUserQuery(const std::string& mod) {
    std::string last;
    for (const std::string& r : Requests()) {
        if (r.rfind("/userservice.aspx?", 0) == 0 && r.find("?mod=" + mod + "&") != std::string::npos)
            last = r;
    }
    return last;
}

std::string SchemesTest::UserState() { return PlainGet(services_->port(), "/_user/state"); }
