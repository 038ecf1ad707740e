// The selectors window, built from the fixture skin (a combo, a date-time,
// a combo box and a three-level tree with check boxes), for driving with
// real input on a display. It writes one JSON line to its report file for
// every notification and whenever what a test can see changes: where the
// controls are on screen, the combos' texts and drop-downs, the date text
// with its picker and calendar, and the tree's rows.
//
//   selectors_demo.exe [--skin <folder>] [--at <x>,<y>] [--report <file>]
//
// Without --at the window sits centred, its bottom just above the bottom of
// the work area, so that the lower combo box opens upwards.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tests/uitoolkit/datetime/calendar_day.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/combo.h"
#include "uitoolkit/controls/date_time.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/tree_node.h"
#include "uitoolkit/controls/tree_view.h"
#include "uitoolkit/window/window_impl_base.h"

using namespace UiToolkit;

namespace {

const UINT_PTR kReportTimer = 1;

std::string Utf8(const wchar_t* text) {
  if (!text || !*text) return std::string();
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
  return out;
}

std::string Quoted(const wchar_t* text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      char hex[8];
      snprintf(hex, sizeof hex, "\\u%04x", c);
      out += hex;
      continue;
    }
    out += c;
  }
  return out + "\"";
}

std::string Rect(const RECT& rc) {
  char text[80];
  snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", static_cast<long>(rc.left),
           static_cast<long>(rc.top), static_cast<long>(rc.right), static_cast<long>(rc.bottom));
  return text;
}

std::string WindowRect(HWND hwnd) {
  if (!hwnd || !::IsWindow(hwnd) || !::IsWindowVisible(hwnd)) return "null";
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  return Rect(rc);
}

class SelectorsWindow : public WindowImplBase {
 public:
  explicit SelectorsWindow(FILE* report) : m_report(report) {}
  ~SelectorsWindow() override {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
  }

  void Notify(TUiNotify& msg) override {
    static const wchar_t* const kQuiet[] = {L"timer", L"windowinit"};
    bool quiet = false;
    for (const wchar_t* type : kQuiet) quiet |= msg.sType == type;
    if (!quiet) {
      Write("{\"notify\":" + Quoted(msg.sType) + ",\"sender\":" +
            Quoted(msg.pSender ? msg.pSender->GetName().GetData() : L"") +
            ",\"wParam\":" + std::to_string(static_cast<long long>(msg.wParam)) +
            ",\"lParam\":" + std::to_string(static_cast<long long>(msg.lParam)) + "}");
    }
    WindowImplBase::Notify(msg);
  }

 protected:
  const wchar_t* WindowClassName() const override { return L"SelectorsDemoWindow"; }
  const wchar_t* SkinFolder() const override { return L""; }
  const wchar_t* SkinFile() const override { return L"selectors.xml"; }
  // Escape and Return belong to the controls here, not to the window.
  bool OnDialogKey(WPARAM) override { return false; }
  void OnSkinReady() override { ::SetTimer(m_hwnd, kReportTimer, 50, nullptr); }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled) override {
    ::KillTimer(m_hwnd, kReportTimer);
    ::PostQuitMessage(0);
    handled = false;
    return 0;
  }
  LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) override {
    if (msg != WM_TIMER || wParam != kReportTimer) {
      handled = false;
      return 0;
    }
    Report();
    return 0;
  }

 private:
  void Write(const std::string& line) {
    if (!m_report) return;
    fputs(line.c_str(), m_report);
    fputc('\n', m_report);
    fflush(m_report);
  }

  std::string ScreenRect(CControlUI* control) {
    if (!control) return "null";
    RECT rc = control->GetBounds();
    ::MapWindowPoints(m_hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    return Rect(rc);
  }

  std::string ComboState(const wchar_t* name) {
    CComboUI* combo = static_cast<CComboUI*>(
        m_manager.FindControl(name) ? m_manager.FindControl(name)->FindInterface(L"Combo") : nullptr);
    if (!combo) return "null";
    return "{\"rect\":" + ScreenRect(combo) + ",\"text\":" + Quoted(combo->GetText()) +
           ",\"sel\":" + std::to_string(combo->GetSelectedIndex()) +
           ",\"popup\":" + WindowRect(combo->GetPopupWindow()) + "}";
  }

  // Where day 5 of the month the calendar shows is, on screen.
  std::string DayFive(HWND calendar) {
    if (calendar == m_dayFiveCalendar) return m_dayFive;
    m_dayFiveCalendar = calendar;
    m_dayFive = "null";
    SYSTEMTIME shown = {};
    ::SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    POINT pt;
    if (!datetest::FindCalendarDay(calendar, 5, &pt)) return m_dayFive;
    ::ClientToScreen(calendar, &pt);
    char month[16];
    snprintf(month, sizeof month, "%04d-%02d", shown.wYear, shown.wMonth);
    m_dayFive = "[" + std::to_string(pt.x) + "," + std::to_string(pt.y) + "],\"month\":\"" +
                month + "\"";
    return m_dayFive;
  }

  std::string DateState() {
    CControlUI* found = m_manager.FindControl(L"date");
    CDateTimeUI* date = found ? static_cast<CDateTimeUI*>(found->FindInterface(L"DateTime")) : nullptr;
    if (!date) return "null";
    HWND picker = date->GetPickerWindow();
    HWND calendar =
        picker ? reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0)) : nullptr;
    if (calendar && !::IsWindowVisible(calendar)) calendar = nullptr;
    if (!calendar) m_dayFiveCalendar = nullptr;
    return "{\"rect\":" + ScreenRect(date) + ",\"text\":" + Quoted(date->GetText()) +
           ",\"picker\":" + WindowRect(picker) + ",\"calendar\":" + WindowRect(calendar) +
           ",\"day5\":" + (calendar ? DayFive(calendar) : std::string("null")) +
           ",\"pickerFocused\":" + (picker && ::GetFocus() == picker ? "true" : "false") + "}";
  }

  std::string TreeState() {
    CControlUI* found = m_manager.FindControl(L"tree");
    CTreeViewUI* tree = found ? static_cast<CTreeViewUI*>(found->FindInterface(L"TreeView")) : nullptr;
    if (!tree) return "null";
    std::string rows;
    for (int i = 0; i < tree->GetCount(); ++i) {
      CTreeNodeUI* node = static_cast<CTreeNodeUI*>(tree->GetItemAt(i)->FindInterface(L"TreeNode"));
      if (!node) continue;
      if (!rows.empty()) rows += ",";
      rows += "{\"name\":" + Quoted(node->GetName()) + ",\"text\":" + Quoted(node->GetText()) +
              ",\"shown\":" + (node->IsVisible() ? "true" : "false") +
              ",\"checked\":" + (node->GetCheckBox()->IsSelected() ? "true" : "false") +
              ",\"rect\":" + ScreenRect(node) + ",\"folder\":" + ScreenRect(node->GetFolderButton()) +
              ",\"check\":" + ScreenRect(node->GetCheckBox()) +
              ",\"item\":" + ScreenRect(node->GetItemButton()) + "}";
    }
    return "{\"rect\":" + ScreenRect(tree) + ",\"rows\":[" + rows + "]}";
  }

  void Report() {
    CControlUI* focus = m_manager.GetFocusControl();
    RECT window;
    ::GetWindowRect(m_hwnd, &window);
    const std::string state =
        "{\"state\":{\"window\":" + Rect(window) + ",\"combo\":" + ComboState(L"combo") +
        ",\"combobox\":" + ComboState(L"combobox") + ",\"date\":" + DateState() +
        ",\"tree\":" + TreeState() + ",\"focus\":" +
        Quoted(focus ? focus->GetName().GetData() : L"") + "}}";
    if (state == m_lastState) return;
    m_lastState = state;
    Write(state);
  }

  FILE* m_report;
  std::string m_lastState;
  HWND m_dayFiveCalendar = nullptr;
  std::string m_dayFive = "null";
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CWindowManagerUI::SetInstance(instance);
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::wstring skin = std::wstring(CWindowManagerUI::ProgramFolder()) + L"selectors_skin";
  std::wstring report;
  int x = -1, y = -1;
  for (int i = 1; argv && i + 1 < argc; i += 2) {
    const std::wstring key = argv[i];
    if (key == L"--skin") skin = argv[i + 1];
    else if (key == L"--report") report = argv[i + 1];
    else if (key == L"--at") swscanf(argv[i + 1], L"%d,%d", &x, &y);
  }
  if (argv) ::LocalFree(argv);
  CWindowManagerUI::SetResourceFolder(skin.c_str());

  FILE* out = report.empty() ? nullptr : _wfopen(report.c_str(), L"ab");
  const int width = 560, height = 420;
  if (x < 0 || y < 0) {
    MONITORINFO monitor = {sizeof(monitor)};
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    x = (monitor.rcWork.left + monitor.rcWork.right - width) / 2;
    y = monitor.rcWork.bottom - height - 10;
  }
  SelectorsWindow window(out);
  if (!window.Create(nullptr, L"Selectors demo", WS_POPUP | WS_VISIBLE, 0, x, y, width, height))
    return 1;
  // Building the skin placed the window at the origin.
  ::SetWindowPos(window.GetHWND(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CWindowManagerUI::RunMessageLoop();
  if (out) fclose(out);
  return 0;
}
