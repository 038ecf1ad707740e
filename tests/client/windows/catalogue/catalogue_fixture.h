#pragma once
// The real main window with the real catalogue pages, against a private
// session of the local services, in a fixture that gives it a private
// program folder (settings, downloads, icons) and an installed-software
// scan the test controls.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/core/install_scan/install_scan_mgr.h"
#include "client/windows/catalogue/catalogue_page.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/main/main_frame_wnd.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/private_service.h"

class CatalogueFrame : public MainFrameWnd {
public:
    CatalogueFrame() { SetStartUpJobsEnabled(false); }
    UiToolkit::CWindowManagerUI& manager() { return m_manager; }
    UiToolkit::CControlUI* Find(const wchar_t* name) { return m_manager.FindControl(name); }
    // How many messages of that number naming that target arrived.
    int Arrived(UINT msg, const void* target) const;

    struct Arrival {
        UINT msg;
        LPARAM lParam;
    };
    std::vector<Arrival> arrivals;

protected:
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
};

// An installed program as the test's scan reports it: its name, the
// version installed, and the catalogue id and version the database gives.
struct InstalledProgram {
    std::wstring name;
    std::wstring version;
    int32_t soft_id;
    std::wstring catalogue_version;
};

class CatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the main window; tab 0 starts loading.
    CatalogueFrame* Open();
    void Close();
    Page* PageOf(int tab);
    // The user's click on a main tab button (its click, then its selection).
    void ClickTab(int tab);
    // Waits until the page shows `rows` rows and no loading text.
    bool WaitRows(Page* page, int rows, DWORD timeout_ms = 20000);
    SoftListItem* Row(Page* page, int index);
    std::wstring Header(Page* page);
    // Hands the page a notification as the main manager would.
    void Send(Page* page, const wchar_t* type, UiToolkit::CControlUI* sender, WPARAM wParam = 0,
              LPARAM lParam = 0);
    void Click(Page* page, UiToolkit::CControlUI* sender) { Send(page, L"click", sender); }
    // Lets the window handle what is posted to it for a while.
    void Drain(DWORD ms = 50);

    // The requests the session logged: "path" or "path?query".
    std::vector<std::string> Requests();
    int Count(const std::string& request);
    void Fault(const std::string& mode, const std::string& path, int count = -1,
               const std::string& arg = "");

    // A scan of these programs, run to its end now (or left not started).
    void UseScan(const std::vector<InstalledProgram>& installed, bool finished = true);
    InstallScanMgr* scan() { return scan_.get(); }

    // Makes the session serve /files/<id>.bin as a local (Linux) file with
    // `append` after it.
    bool ServeFile(int soft_id, const std::string& unix_path, const std::string& append = "");
    // The fake installer and uninstaller the build puts beside the program
    // folder (Linux paths).
    static std::string TestProgram(const char* name);

    // A record the catalogue answers for `soft_id` (through the real parser),
    // fetched into the software cache.
    bool CacheRecord(int soft_id, const std::string& json_record);

    static std::wstring folder_;
    CatalogueFrame* frame_ = nullptr;
    std::unique_ptr<PrivateService> services_;
    std::unique_ptr<InstallScanMgr> scan_;
    std::vector<std::unique_ptr<InstallScanMgr>> old_scans_;
    std::vector<InstalledProgram> installed_;
};

std::string Narrow(const std::wstring& text);
// Percent-encodes every byte but letters, digits and "-_.".
std::string UrlEncode(const std::string& text);
