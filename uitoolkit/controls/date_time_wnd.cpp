#include "uitoolkit/controls/date_time_wnd.h"

#include <commctrl.h>

#include "foundation/log/log.h"
#include "uitoolkit/controls/date_time.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

// The manager's window reflects WM_NOTIFY back to the child that sent it,
// numbered this much higher.
const UINT kReflected = 0x2000;

// Posted to the picker by its calendar when the calendar loses the focus.
const UINT kCalendarLeft = WM_APP + 0x3D1;
const UINT_PTR kCalendarWatch = 1;

// Watches the drop-down calendar: the picker has no other way to learn
// that a click elsewhere took the focus from it.
LRESULT CALLBACK WatchCalendar(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR picker) {
  if (msg == WM_KILLFOCUS) {
    ::PostMessageW(reinterpret_cast<HWND>(picker), kCalendarLeft, 0, 0);
  } else if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &WatchCalendar, id);
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

CDateTimeWnd::CDateTimeWnd()
    : m_owner(nullptr), m_backBrush(nullptr), m_initialised(false), m_creating(false) {}

CDateTimeWnd::~CDateTimeWnd() {
  if (m_backBrush) ::DeleteObject(m_backBrush);
}

const wchar_t* CDateTimeWnd::WindowClassName() const { return L"DateTimeWnd"; }
const wchar_t* CDateTimeWnd::BaseClassName() const { return DATETIMEPICK_CLASSW; }

bool CDateTimeWnd::Init(CDateTimeUI* owner) {
  m_owner = owner;
  if (!owner) {
    delete this;
    return false;
  }
  owner->m_updateMode = CDateTimeUI::kPickerOpen;
  CWindowManagerUI* manager = owner->GetManager();
  if (!m_hwnd) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&classes);
    HWND parent = manager ? manager->GetWindow() : nullptr;
    const RECT& rc = owner->GetBounds();
    m_creating = true;
    HWND hwnd = parent ? Create(parent, nullptr, WS_CHILD, 0, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top)
                       : nullptr;
    m_creating = false;
    if (!hwnd) {
      log_error("%s: no date picker window (parent %p, error %lu); the date stays a label",
                __FUNCTION__, static_cast<void*>(parent), ::GetLastError());
      owner->m_updateMode = CDateTimeUI::kCancelled;
      delete this;
      return false;
    }
    TUiFontInfo* font = manager->FontAt(owner->GetFont());
    if (font && font->hFont)
      ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->hFont), TRUE);
  }
  if (owner->GetText().IsEmpty()) ::GetLocalTime(&owner->m_date);
  ::SendMessageW(m_hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&owner->m_date));
  ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
  ::SetFocus(m_hwnd);
  m_initialised = true;
  return true;
}

HWND CDateTimeWnd::GetCalendar() const {
  if (!m_hwnd) return nullptr;
  HWND calendar = reinterpret_cast<HWND>(::SendMessageW(m_hwnd, DTM_GETMONTHCAL, 0, 0));
  return calendar && ::IsWindowVisible(calendar) ? calendar : nullptr;
}

bool CDateTimeWnd::IsOwnWindow(HWND hwnd) const {
  if (!hwnd || !m_hwnd) return false;
  if (hwnd == m_hwnd || ::IsChild(m_hwnd, hwnd)) return true;
  // The calendar is a popup of the picker's; the focus may also sit in a
  // window inside it (the year field).
  HWND calendar = reinterpret_cast<HWND>(::SendMessageW(m_hwnd, DTM_GETMONTHCAL, 0, 0));
  return calendar && (hwnd == calendar || ::IsChild(calendar, hwnd));
}

void CDateTimeWnd::Finish(int mode) {
  if (m_owner) {
    m_owner->m_updateMode = mode;
    m_owner->UpdateText();
  }
  ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
}

void CDateTimeWnd::EndAsFocusLoss() {
  if (m_owner && m_owner->m_updateMode == CDateTimeUI::kPickerOpen) {
    SYSTEMTIME picked = {};
    if (::SendMessageW(m_hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) ==
        GDT_VALID)
      m_owner->m_date = picked;
    Finish(CDateTimeUI::kSetDate);
    return;
  }
  ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
}

void CDateTimeWnd::EndUnlessFocused() {
  if (m_hwnd && !IsOwnWindow(::GetFocus())) EndAsFocusLoss();
}

LRESULT CDateTimeWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KILLFOCUS: {
      const LRESULT result = CWindowWnd::ProcessMessage(msg, wParam, lParam);
      // Into the picker's own calendar: the edit goes on.
      if (!IsOwnWindow(reinterpret_cast<HWND>(wParam))) EndAsFocusLoss();
      return result;
    }
    case WM_KEYUP:
      if (wParam == VK_DELETE || wParam == VK_BACK || wParam == VK_ESCAPE) {
        const LRESULT result = CWindowWnd::ProcessMessage(msg, wParam, lParam);
        Finish(wParam == VK_ESCAPE ? CDateTimeUI::kCancelled : CDateTimeUI::kClearText);
        return result;
      }
      break;
    case WM_NOTIFY + kReflected: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header) break;
      if (header->code == DTN_DROPDOWN) {
        HWND calendar = reinterpret_cast<HWND>(::SendMessageW(m_hwnd, DTM_GETMONTHCAL, 0, 0));
        if (calendar)
          ::SetWindowSubclass(calendar, &WatchCalendar, kCalendarWatch,
                              reinterpret_cast<DWORD_PTR>(m_hwnd));
      } else if (header->code == DTN_CLOSEUP) {
        // A day was picked or the picker's button closed the calendar: the
        // edit goes on in the picker. (A click elsewhere reaches the
        // picker through the calendar losing the focus.)
        if (m_owner && m_owner->m_updateMode == CDateTimeUI::kPickerOpen) ::SetFocus(m_hwnd);
      }
      break;
    }
    case kCalendarLeft:
      EndUnlessFocused();
      return 0;
    default:
      break;
  }
  return CWindowWnd::ProcessMessage(msg, wParam, lParam);
}

void CDateTimeWnd::OnWindowGone(HWND) {
  if (m_owner) {
    m_owner->m_window = nullptr;
    m_owner->Invalidate();
  }
  // A window that failed while being made is deleted by Init.
  if (!m_creating) delete this;
}

}  // namespace UiToolkit
