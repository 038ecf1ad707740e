#pragma once
// Fixtures for the ActiveX tests: COM on the test thread, the recording
// module fake_activex.dll beside the test program, and a shown window whose
// root panel holds the controls under test.
#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/uitoolkit/activex/fake_activex_api.h"
#include "tests/uitoolkit/controls/control_window.h"
#include "uitoolkit/activex/activex_objects.h"
#include "uitoolkit/activex/activex_ui.h"
#include "uitoolkit/activex/web_browser_ui.h"

namespace uitest {

// The recording module, loaded once per test program.
class FakeModule {
 public:
  static FakeModule& Get() {
    static FakeModule module;
    return module;
  }
  const std::wstring& Path() const { return path_; }
  bool Loaded() const { return handle_ != nullptr; }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    int n = record_(nullptr, 0);
    std::string text(n + 1, '\0');
    record_(&text[0], n + 1);
    text.resize(n);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }
  // The lines that begin with `prefix`.
  std::vector<std::string> Lines(const std::string& prefix) const {
    std::vector<std::string> kept;
    for (const std::string& line : Lines())
      if (line.compare(0, prefix.size(), prefix) == 0) kept.push_back(line);
    return kept;
  }
  int Count(const std::string& prefix) const { return static_cast<int>(Lines(prefix).size()); }
  void Reset() const { reset_(); }
  long LiveObjects() const { return live_(); }
  long LiveParts() const { return parts_(); }
  long HeldHostRefs() const { return held_(); }
  long OpenAdvises() const { return advises_(); }
  void SetOption(const char* name, long value) const { option_(name, value); }

 private:
  FakeModule() {
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    path_ = exe;
    path_ = path_.substr(0, path_.find_last_of(L'\\') + 1) + L"fake_activex.dll";
    handle_ = ::LoadLibraryW(path_.c_str());
    if (!handle_) return;
    record_ = reinterpret_cast<fake_activex::RecordFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_record")));
    reset_ = reinterpret_cast<fake_activex::ResetFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_reset")));
    live_ = reinterpret_cast<fake_activex::CountFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_live_objects")));
    parts_ = reinterpret_cast<fake_activex::CountFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_live_parts")));
    held_ = reinterpret_cast<fake_activex::CountFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_held_host_refs")));
    advises_ = reinterpret_cast<fake_activex::CountFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_open_advises")));
    option_ = reinterpret_cast<fake_activex::SetOptionFn>(
        reinterpret_cast<void*>(::GetProcAddress(handle_, "fake_set_option")));
    if (!record_ || !reset_ || !live_ || !parts_ || !held_ || !advises_ || !option_)
      handle_ = nullptr;
  }

  std::wstring path_;
  HMODULE handle_ = nullptr;
  fake_activex::RecordFn record_ = nullptr;
  fake_activex::ResetFn reset_ = nullptr;
  fake_activex::CountFn live_ = nullptr;
  fake_activex::CountFn parts_ = nullptr;
  fake_activex::CountFn held_ = nullptr;
  fake_activex::CountFn advises_ = nullptr;
  fake_activex::SetOptionFn option_ = nullptr;
};

// Keeps every notification type with its sender's name.
class AllNotes : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    std::wstring sender = msg.pSender ? std::wstring(msg.pSender->GetName()) : L"-";
    entries.push_back(sender + L":" + std::wstring(msg.sType));
  }
  int Count(const std::wstring& entry) const {
    int n = 0;
    for (const std::wstring& e : entries) n += e == entry;
    return n;
  }
  std::vector<std::wstring> entries;
};

// A shown window (screen 40,40, 400 x 200) with COM ready and the module
// reset. Every test checks at its end that nothing of the module or the
// host outlives the controls it made.
class ActiveXTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }

  void SetUp() override {
    ASSERT_TRUE(FakeModule::Get().Loaded()) << "fake_activex.dll beside the test program";
    fake().Reset();
    hostObjectsBefore_ = ActiveXLiveObjectCount();
    filtersBefore_ = window().win.manager.WindowMessageFilterCount();
    translatorsBefore_ = window().win.manager.KeyTranslatorCount();
    window().win.manager.AddNotifyReceiver(&notes_);
  }
  void TearDown() override {
    window().Clear();
    window().win.manager.RemoveNotifyReceiver(&notes_);
    ExpectNothingLeft();
  }
  void ExpectNothingLeft() {
    EXPECT_EQ(0, fake().LiveObjects());
    EXPECT_EQ(0, fake().LiveParts());
    EXPECT_EQ(0, fake().HeldHostRefs());
    EXPECT_EQ(0, fake().OpenAdvises());
    EXPECT_EQ(hostObjectsBefore_, ActiveXLiveObjectCount());
    EXPECT_EQ(filtersBefore_, window().win.manager.WindowMessageFilterCount());
    EXPECT_EQ(translatorsBefore_, window().win.manager.KeyTranslatorCount());
  }

  static ControlWindow& window() {
    static ControlWindow* shared = new ControlWindow;  // one window for the whole program
    return *shared;
  }
  static const FakeModule& fake() { return FakeModule::Get(); }
  CWindowManagerUI& manager() { return window().win.manager; }
  HWND hwnd() { return window().win.GetHWND(); }

  // A control of the module's class `clsid`, named `name`, in the window
  // at `rc` (its first layout creates the object).
  template <class T>
  T* Host(const CLSID& clsid, RECT rc, const wchar_t* name = L"ax") {
    T* control = new T;
    control->SetName(name);
    control->SetModuleName(fake().Path().c_str());
    control->SetClsid(clsid);
    window().Add(control, rc);
    return control;
  }
  void Remove(CControlUI* control) {
    auto& kids = window().root->children;
    for (size_t i = 0; i < kids.size(); ++i) {
      if (kids[i] != control) continue;
      kids.erase(kids.begin() + i);
      delete control;
      return;
    }
  }

  AllNotes notes_;
  long hostObjectsBefore_ = 0;
  int filtersBefore_ = 0;
  int translatorsBefore_ = 0;
};

// Where a child window sits in its parent's client area.
inline RECT ChildRect(HWND child) {
  RECT rc;
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

inline bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

}  // namespace uitest
