#pragma once
// A main window whose tab 6 holds the real home page (with its schemes and
// favourites pages) and whose other tabs record what reaches them, in a
// fixture with private settings and a private session of the local
// services (catalogue, login and user service).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/windows/favourites/my_collect.h"
#include "client/windows/home/home_page.h"
#include "client/windows/main/main_frame_wnd.h"
#include "tests/client/windows/login/login_fixture.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/private_service.h"

class HomeFrame : public MainFrameWnd {
public:
    HomeFrame() { SetStartUpJobsEnabled(false); }
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;
    UiToolkit::CWindowManagerUI& manager() { return m_manager; }
    UiToolkit::CControlUI* Find(const wchar_t* name) { return m_manager.FindControl(name); }

    HomePage* home = nullptr;
    wintest::RecordingPage* pages[kTabCount] = {};
};

// Records the notification types it is given (an extra observer of a page).
class TypeRecorder : public UiToolkit::INotifyUI {
public:
    void Notify(UiToolkit::TUiNotify& msg) override { types.push_back(msg.sType.GetData()); }
    int Count(const wchar_t* type) const;
    std::vector<std::wstring> types;
};

class HomeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    HomeFrame* Open();
    void Close();
    HWND hwnd() const { return frame_->GetHWND(); }
    HomePage* home() { return frame_->home; }
    MyCollect* Favourites();
    UiToolkit::CListUI* CollectList() { return Favourites() ? Favourites()->List() : nullptr; }
    // The soft ids of the favourites rows, top to bottom.
    std::vector<int> RowIds();
    std::wstring Text(const wchar_t* name);

    // Logs in through the login request and announces it as the login
    // dialog does; false when the service refused.
    bool LogIn(const std::string& account, const std::string& password);
    // Shows the home tab, then the favourites page (a click on its option),
    // and waits for the loading window to be gone.
    void ShowFavourites();
    void SetFavourites(const std::string& account, const std::string& ids);

    std::unique_ptr<PrivateService> services_;
    HomeFrame* frame_ = nullptr;
    static std::wstring data_dir_;
};
