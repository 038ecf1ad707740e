#include "tests/client/windows/catalogue/catalogue_fixture.h"

#include <wchar.h>

#include "client/core/catalogue/rank_page.h"
#include "client/core/catalogue/soft_class_mgr.h"
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/utilities/text_encoding.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"
#include "tests/support/test_support.h"

std::wstring CatalogueTest::folder_;

int CatalogueFrame::Arrived(UINT msg, const void* target) const {
    int n = 0;
    for (const Arrival& a : arrivals) n += a.msg == msg && a.lParam == reinterpret_cast<LPARAM>(target);
    return n;
}

LRESULT CatalogueFrame::OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg >= kFirstMainFrameMessage && msg <= kLastMainFrameMessage) arrivals.push_back(Arrival{msg, lParam});
    return MainFrameWnd::OnOtherMessage(msg, wParam, lParam, handled);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    WideToUtf8(text, &out);
    return out;
}

namespace {
void CopyTree(const std::wstring& from, const std::wstring& to) {
    ::CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((from + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        else
            ::CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}
}  // namespace

void CatalogueTest::SetUpTestSuite() {
    wintest::UseDistSkin();
    folder_ = test_support::MakeTempDir(L"catalogue");
    ::CreateDirectoryW((folder_ + L"\\data").c_str(), nullptr);
    // A program folder of the suite's own: the skin (where the icons are
    // stored and drawn from), settings, downloads.
    CopyTree(wintest::DistSkinFolder(), folder_ + L"\\skin");
    UiToolkit::CWindowManagerUI::SetResourceFolder((folder_ + L"\\skin").c_str());
    ConfMgr::SetProgramFolderForTest(folder_ + L"\\");
    SetIconSkinFolderForTests(folder_ + L"\\skin\\");
    std::string log_path;
    WideToUtf8(folder_ + L"\\data\\vantrel.log", &log_path);
    log_open(log_path.c_str());
    for (const wchar_t* role : {L"VANTREL_CATALOGUE_HOST", L"VANTREL_LOGIN_HOST", L"VANTREL_USER_HOST",
                                L"VANTREL_REPORT_HOST"})
        ::SetEnvironmentVariableW(role, L"127.0.0.1:9");
}

void CatalogueTest::TearDownTestSuite() {
    log_close();
    test_support::RemoveTree(folder_);
}

void CatalogueTest::SetUp() {
    MainFrameFlags::ResetForTests();
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    SoftInfoMgr::Instance().ClearForTest();
    SoftClassMgr::Instance().ClearForTest();
    ClearRankCacheForTest();
    services_.reset(new PrivateService);
    ASSERT_TRUE(services_->ok());
    for (const wchar_t* role : {L"VANTREL_CATALOGUE_HOST", L"VANTREL_LOGIN_HOST", L"VANTREL_USER_HOST",
                                L"VANTREL_REPORT_HOST"})
        ::SetEnvironmentVariableW(role, services_->host().c_str());
    UseScan({});
}

void CatalogueTest::TearDown() {
    Close();
    SoftListItem::SetScanRegistrationHookForTests(nullptr);
    SoftListItem::SetScanForTests(nullptr);
    services_.reset();
}

CatalogueFrame* CatalogueTest::Open() {
    frame_ = new CatalogueFrame;
    EXPECT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635));
    frame_->CenterOnOwner();
    ::ShowWindow(frame_->GetHWND(), SW_SHOW);
    // The first paint's "windowinit" reaches tab 0's page, which loads.
    EXPECT_TRUE(wintest::PumpUntil([&] { return PageOf(0) && PageOf(0)->Loaded(); }, 10000));
    return frame_;
}

void CatalogueTest::Close() {
    if (!frame_) return;
    if (frame_->GetHWND()) ::DestroyWindow(frame_->GetHWND());
    wintest::Pump(50);
    delete frame_;
    frame_ = nullptr;
}

Page* CatalogueTest::PageOf(int tab) {
    UiToolkit::CControlUI* control = frame_ ? frame_->PageOfTab(tab) : nullptr;
    return control ? static_cast<Page*>(control->FindInterface(L"Page")) : nullptr;
}

void CatalogueTest::ClickTab(int tab) {
    static const wchar_t* const kNames[] = {L"necessary_switch", L"market_switch", L"uninstall_switch",
                                            L"scheme_switch", L"tools_switch"};
    UiToolkit::CControlUI* button = frame_->Find(kNames[tab]);
    ASSERT_NE(nullptr, button);
    button->Activate();
}

bool CatalogueTest::WaitRows(Page* page, int rows, DWORD timeout_ms) {
    return wintest::PumpUntil(
        [&] {
            return page->SoftList()->GetCount() == rows &&
                   Header(page).find(L"查询中") == std::wstring::npos;
        },
        timeout_ms);
}

SoftListItem* CatalogueTest::Row(Page* page, int index) {
    UiToolkit::CControlUI* row = page->SoftList()->GetItemAt(index);
    return row ? static_cast<SoftListItem*>(row->FindInterface(L"SoftListItem")) : nullptr;
}

std::wstring CatalogueTest::Header(Page* page) { return page->TextBar()->GetText().GetData(); }

void CatalogueTest::Send(Page* page, const wchar_t* type, UiToolkit::CControlUI* sender,
                         WPARAM wParam, LPARAM lParam) {
    UiToolkit::TUiNotify msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    static_cast<UiToolkit::INotifyUI*>(page)->Notify(msg);
}

void CatalogueTest::Drain(DWORD ms) { wintest::Pump(ms); }

std::vector<std::string> CatalogueTest::Requests() {
    std::vector<std::string> out;
    Json::Value log = services_->Log();
    for (const Json::Value& entry : log) {
        std::string request = entry["path"].asString();
        const std::string query = entry["raw_query"].asString();
        if (!query.empty()) request += "?" + query;
        out.push_back(request);
    }
    return out;
}

int CatalogueTest::Count(const std::string& request) {
    int n = 0;
    for (const std::string& r : Requests()) n += r == request;
    return n;
}

void CatalogueTest::Fault(const std::string& mode, const std::string& path, int count,
                          const std::string& arg) {
    services_->Fault(mode, path, count, arg);
}

void CatalogueTest::UseScan(const std::vector<InstalledProgram>& installed, bool finished) {
    installed_ = installed;
    if (scan_) old_scans_.push_back(std::move(scan_));  // rows of the last window may still hold it
    scan_.reset(new InstallScanMgr(
        [this](SysInstallSoftList* list) {
            for (const InstalledProgram& p : installed_) {
                auto soft = std::make_shared<SysInstallSoft>();
                soft->display_name = p.name;
                soft->display_version = p.version;
                list->push_back(soft);
            }
            return true;
        },
        [this](const std::vector<std::wstring>& names, std::vector<VersionMatch>* results) {
            for (const std::wstring& name : names) {
                VersionMatch match;
                for (const InstalledProgram& p : installed_) {
                    if (p.name != name) continue;
                    match.soft_id = p.soft_id;
                    match.version = p.catalogue_version;
                }
                results->push_back(match);
            }
            return true;
        }));
    SoftListItem::SetScanForTests(scan_.get());
    if (finished) scan_->ScanThread();
}

std::string UrlEncode(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.') {
            out += c;
        } else {
            char hex[4];
            snprintf(hex, sizeof(hex), "%%%02X", static_cast<unsigned char>(c));
            out += hex;
        }
    }
    return out;
}

bool CatalogueTest::ServeFile(int soft_id, const std::string& unix_path, const std::string& append) {
    std::string answer = PlainGet(services_->port(), "/_files/" + std::to_string(soft_id) + "?path=" +
                                                         UrlEncode(unix_path) + "&append=" + UrlEncode(append));
    return answer.find("\"ok\": true") != std::string::npos || answer.find("\"ok\":true") != std::string::npos;
}

bool CatalogueTest::ServeBytes(int soft_id, int size) {
    std::string answer =
        PlainGet(services_->port(), "/_files/" + std::to_string(soft_id) + "?size=" + std::to_string(size));
    return answer.find("\"ok\": true") != std::string::npos || answer.find("\"ok\":true") != std::string::npos;
}

std::string CatalogueTest::TestProgram(const char* name) {
    return test_support::Env("VANTREL_TEST_DIST") + "/../testbin/" + name;
}

bool CatalogueTest::CacheRecord(int soft_id, const std::string& json_record) {
    const std::string path = "/soft/" + std::to_string(soft_id);
    // The fault table replaces the next answer's body with the record.
    services_->Fault("wrong_json", path, 1, UrlEncode(json_record));
    SoftMap ids;
    ids[soft_id] = SoftwarePtr();
    return SoftInfoMgr::Instance().FetchSofts(&ids, true) && ids.count(soft_id);
}
