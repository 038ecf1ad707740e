#include "tests/client/windows/detail/detail_fixture.h"

#include <ole2.h>
#include <wchar.h>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/version/version_mgr.h"
#include "client/windows/detail/detail_texts.h"
#include "client/windows/detail/web.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/pages/stand_in_page.h"
#include "foundation/log/log.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"
#include "uitoolkit/controls/label.h"

namespace detailtest {

// ---- the recording browser ----

FakeBrowserRecord& FakeBrowserRecord::Get() {
    static FakeBrowserRecord* record = new FakeBrowserRecord;
    return *record;
}

FakeBrowserRecord::FakeBrowserRecord() {
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    path_ = exe;
    path_ = path_.substr(0, path_.find_last_of(L'\\') + 1) + L"fake_activex.dll";
    HMODULE module = ::LoadLibraryW(path_.c_str());
    if (!module) return;
    reset_ = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(::GetProcAddress(module, "fake_reset")));
    record_ = reinterpret_cast<int (*)(char*, int)>(
        reinterpret_cast<void*>(::GetProcAddress(module, "fake_record")));
    live_ = reinterpret_cast<long (*)()>(reinterpret_cast<void*>(::GetProcAddress(module, "fake_live_objects")));
    advises_ = reinterpret_cast<long (*)()>(reinterpret_cast<void*>(::GetProcAddress(module, "fake_open_advises")));
    if (!reset_ || !live_ || !advises_) record_ = nullptr;
}

std::vector<std::string> FakeBrowserRecord::Lines(const std::string& prefix) const {
    std::vector<std::string> lines;
    if (!record_) return lines;
    int n = record_(nullptr, 0);
    std::string text(n + 1, '\0');
    record_(&text[0], n + 1);
    text.resize(n);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

void FakeBrowserRecord::Reset() const {
    if (reset_) reset_();
}

std::wstring FakeBrowserSkin() {
    return L"<Window><HorizontalLayout><WebBrowser name=\"ie\" modulename=\"" +
           FakeBrowserRecord::Get().Path() +
           L"\" clsid=\"{6B1C1F10-2B1E-4C1A-9D41-510E7A110003}\" delaycreate=\"false\" "
           L"autonavi=\"true\"/></HorizontalLayout></Window>";
}

// ---- the scan ----

ScriptedScan::ScriptedScan(std::vector<std::pair<int, bool>> installed, bool registry_readable)
    : release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    HANDLE release = release_;
    auto scanner = [release, installed, registry_readable](SysInstallSoftList* list) {
        ::WaitForSingleObject(release, INFINITE);
        for (const auto& entry : installed) {
            auto soft = std::make_shared<SysInstallSoft>();
            soft->display_name = L"Program " + std::to_wstring(entry.first);
            soft->display_version = L"1.0";
            soft->publisher = L"Kelvora Tests";
            soft->uninstall_command = L"C:\\uninstall.exe";
            list->push_back(soft);
        }
        return registry_readable;
    };
    auto matcher = [installed](const std::vector<std::wstring>& names,
                               std::vector<VersionMatch>* results) {
        for (const std::wstring& name : names) {
            VersionMatch match;
            for (const auto& entry : installed) {
                if (name != L"Program " + std::to_wstring(entry.first)) continue;
                match.soft_id = entry.first;
                match.version = entry.second ? L"2.0" : L"1.0";
            }
            results->push_back(match);
        }
        return true;
    };
    mgr_.reset(new InstallScanMgr(scanner, matcher));
}

ScriptedScan::~ScriptedScan() {
    if (started_) End();
    ::CloseHandle(release_);
}

void ScriptedScan::Start() {
    started_ = true;
    mgr_->StartScan();
}

void ScriptedScan::End() {
    ::SetEvent(release_);
    while (mgr_->ScanState() != InstallScanMgr::kDone) ::Sleep(2);
    // The worker tells its observers under the observer lock after setting
    // the state: taking that lock waits until it has let go for good.
    mgr_->RemoveObserver(nullptr);
}

// ---- the host page ----

DetailHostPage::DetailHostPage() {
    // As on a catalogue page: the sub-category list on the left, then the
    // list or detail view in the width the view is drawn for.
    UiToolkit::CHorizontalLayoutUI* row = new UiToolkit::CHorizontalLayoutUI;
    Add(row);
    UiToolkit::CControlUI* types = new UiToolkit::CControlUI;
    types->SetFixedWidth(155);
    types->SetBkColor(0xFFECEEF2);
    row->Add(types);
    tabs_ = new UiToolkit::CTabLayoutUI;
    row->Add(tabs_);
    UiToolkit::CLabelUI* list = new UiToolkit::CLabelUI;
    list->SetText(L"list");
    tabs_->Add(list);
    detail_item_ = new UiToolkit::CHorizontalLayoutUI;
    detail_item_->SetDelayedDestroy(false);  // DestroyDetail deletes it on the spot
    tabs_->Add(detail_item_);
}

void DetailHostPage::MakeDetail(InstallScanMgr* scan) {
    if (detail_) DestroyDetail();
    detail_ = new Detail(scan);
    detail_item_->Add(detail_);
}

LPVOID DetailHostPage::FindInterface(const wchar_t* name) {
    if (wcscmp(name, kPageReceiverInterface) == 0) return static_cast<UiToolkit::INotifyUI*>(this);
    return CContainerUI::FindInterface(name);
}

void DetailHostPage::Notify(UiToolkit::TUiNotify& msg) {
    seen_.push_back(msg.sType.GetData());
    if (msg.sType == L"click_soft_detail") {
        Open(static_cast<int>(msg.lParam));
    } else if (msg.sType == L"back_to_soft_list_page") {
        Back();
    } else if (shown_ && detail_) {
        detail_->Notify(msg);
    }
}

void DetailHostPage::Open(int soft_id) {
    detail_->ShowSoft(SoftInfoMgr::Instance().GetSoft(soft_id));
    shown_ = true;
    tabs_->SelectItem(1);
}

void DetailHostPage::Back() {
    tabs_->SelectItem(0);
    detail_->Leave();
    shown_ = false;
}

void DetailHostPage::DestroyDetail() {
    if (!detail_) return;
    shown_ = false;
    tabs_->SelectItem(0);
    detail_item_->Remove(detail_);  // deletes it
    detail_ = nullptr;
}

int DetailHostPage::Count(const wchar_t* type) const {
    int n = 0;
    for (const std::wstring& s : seen_) n += s == type;
    return n;
}

UiToolkit::CControlUI* DetailMainFrame::CreateCustomControl(const wchar_t* tag) {
    if (wcscmp(tag, L"market_soft") == 0) return host = new DetailHostPage;
    if (wcscmp(tag, L"tools_soft") == 0) return second_host = new DetailHostPage;
    return new StandInPage(tag);
}

// ---- the fixture ----

PrivateService* DetailTest::services_ = nullptr;
std::wstring DetailTest::data_dir_;
std::wstring DetailTest::log_path_;
DetailMainFrame* DetailTest::frame_ = nullptr;

void DetailTest::SetUpTestSuite() {
    ::CoInitialize(nullptr);
    wintest::UseDistSkin();
    data_dir_ = test_support::MakeTempDir(L"detail");
    ::CreateDirectoryW((data_dir_ + L"\\data").c_str(), nullptr);
    ConfMgr::SetProgramFolderForTest(data_dir_ + L"\\");
    VersionMgr::SetVdbPathForTests(data_dir_ + L"\\data\\vdb.dat");
    log_path_ = data_dir_ + L"\\detail.log";
    char narrow[MAX_PATH];
    ::WideCharToMultiByte(CP_ACP, 0, log_path_.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
    log_open(narrow);

    services_ = new PrivateService;
    for (const wchar_t* variable :
         {L"VANTREL_CATALOGUE_HOST", L"VANTREL_REPORT_HOST", L"VANTREL_USER_HOST", L"VANTREL_LOGIN_HOST"})
        ::SetEnvironmentVariableW(variable, services_->host().c_str());
    // The records the tests show, from the sample catalogue.
    SoftMap ids;
    for (int id = 1001; id <= 1012; ++id) ids[id] = SoftwarePtr();
    SoftInfoMgr::Instance().FetchSofts(&ids, true);
    Web::SetSkinForTests(FakeBrowserSkin().c_str());
    // A download that finishes unwatched is "opened" by the recorder, which
    // records nothing unless a test asks: never by the shell.
    download_test::RecordOpens(L"");
}

void DetailTest::TearDownTestSuite() {
    if (frame_) {
        if (frame_->GetHWND()) ::DestroyWindow(frame_->GetHWND());
        wintest::Pump(30);
        delete frame_;
        frame_ = nullptr;
    }
    Web::SetSkinForTests(nullptr);
    delete services_;
    services_ = nullptr;
    log_close();
    test_support::RemoveTree(data_dir_);
}

void DetailTest::SetUp() {
    ASSERT_TRUE(services_ && services_->ok());
    ASSERT_TRUE(FakeBrowserRecord::Get().Loaded()) << "fake_activex.dll beside the test program";
    ASSERT_TRUE(SoftInfoMgr::Instance().GetSoft(1001)) << "the sample catalogue's records";
    services_->Reset();
    FakeBrowserRecord::Get().Reset();
    MainFrameFlags::ResetForTests();
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    std::string text;
    test_support::ReadFileBytes(log_path_, &text);
    log_start_ = text.size();
}

void DetailTest::TearDown() {
    Close();
    scans_.clear();
}

ScriptedScan& DetailTest::NewScan(std::vector<std::pair<int, bool>> installed, bool registry_readable) {
    scans_.emplace_back(new ScriptedScan(std::move(installed), registry_readable));
    return *scans_.back();
}

void DetailTest::Open(InstallScanMgr* scan) {
    if (!frame_) {
        frame_ = new DetailMainFrame;
        ASSERT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635));
        frame_->CenterOnOwner();
        ::ShowWindow(frame_->GetHWND(), SW_SHOW);
        // The window's "windowinit" makes tab 0's page the receiver: it
        // must come before the market tab is shown, not after.
        wintest::Pump(300);
    }
    ASSERT_TRUE(frame_->host && frame_->second_host);
    frame_->host->MakeDetail(scan);
    frame_->second_host->MakeDetail(scan);
    frame_->ShowTab(MainFrameWnd::kMarketTab);
    wintest::Pump(50);
}

void DetailTest::Close() {
    if (!frame_) return;
    frame_->host->DestroyDetail();
    frame_->second_host->DestroyDetail();
    wintest::Pump(30);
}

void DetailTest::ShowSoft(int soft_id) {
    host().Open(soft_id);
    // Laid out and painted, so clicks find the controls where they are.
    wintest::Pump(60);
}

int DetailTest::FullStars(const std::vector<UiToolkit::COptionUI*>& stars) {
    int full = 0;
    for (UiToolkit::COptionUI* star : stars) {
        const std::wstring image = star->GetOptionForeImage().GetData();
        if (image == DetailTexts::kFullStar) ++full;
        else if (image != DetailTexts::kEmptyStar) return -1;  // neither: a broken star
    }
    return full;
}

bool DetailTest::PumpUntil(const std::function<bool()>& done) { return wintest::PumpUntil(done, 10000); }

std::string DetailTest::LogSinceStart() {
    std::string text;
    test_support::ReadFileBytes(log_path_, &text);
    return text.size() > log_start_ ? text.substr(log_start_) : std::string();
}

std::vector<std::string> DetailTest::ScoreRequests() {
    std::vector<std::string> requests;
    for (const Json::Value& entry : services_->Log()) {
        if (entry.get("path", "").asString() == "/UserService.aspx")
            requests.push_back(entry.get("raw_query", "").asString());
    }
    return requests;
}

void DetailTest::Rate(int soft_id, int score) {
    PlainGet(services_->port(), "/UserService.aspx?mod=score&soft_id=" + std::to_string(soft_id) +
                                    "&score=" + std::to_string(score));
}

}  // namespace detailtest
