#pragma once
// A main window whose seven pages record what reaches them, in a fixture
// that gives it private settings, a private version database and, when a
// test wants them, private local services.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "client/windows/main/main_frame_wnd.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/private_service.h"

// A page made by a test for a tag, or none for a recording page.
typedef std::function<UiToolkit::CControlUI*(const wchar_t* tag)> TestPageFactory;

class TestMainFrame : public MainFrameWnd {
public:
    explicit TestMainFrame(bool start_up_jobs, TestPageFactory make_page = nullptr)
        : make_page_(std::move(make_page)) {
        SetStartUpJobsEnabled(start_up_jobs);
    }
    // Every page is built with the window unless `defer_pages` asks for the
    // client's own order (tab 0 with the window, the others when needed).
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;
    UiToolkit::CControlUI* CreatePage(const wchar_t* tag) override;
    // The dispatcher, called directly: whether it marked the message handled.
    bool Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    UiToolkit::CWindowManagerUI& manager() { return m_manager; }
    UiToolkit::CControlUI* Find(const wchar_t* name) { return m_manager.FindControl(name); }
    UiToolkit::CButtonUI* Button(const wchar_t* name);

    wintest::RecordingPage* pages[kTabCount] = {};
    bool defer_pages = false;

private:
    TestPageFactory make_page_;
};

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates, shows and waits for the first paint ("windowinit" on page 0).
    TestMainFrame* Open(bool start_up_jobs = false);
    void Close();
    HWND hwnd() const { return frame_->GetHWND(); }
    wintest::RecordingPage& page(int tab) { return *frame_->pages[tab]; }
    // Which pages a synchronous probe through the main manager reaches.
    std::string PagesReached();
    std::wstring Text(const wchar_t* name);
    // Lets the window handle one message, which delivers what is queued.
    void Drain();
    // Points the catalogue host at a new private session of the services.
    PrivateService& Services();

    // Run by Open once the window exists (its pages too), before it shows.
    std::function<void()> on_open_;
    // Real pages for some tags (the others record); set before Open.
    TestPageFactory make_page_;
    // Pages built when first needed, as in the client; set before Open.
    bool defer_pages_ = false;

    static std::wstring data_dir_;
    TestMainFrame* frame_ = nullptr;
    std::unique_ptr<PrivateService> services_;
};
