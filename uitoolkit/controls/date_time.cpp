#include "uitoolkit/controls/date_time.h"

#include <wchar.h>

#include "uitoolkit/controls/date_time_wnd.h"
#include "uitoolkit/controls/native_window_host.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CUiString FormatDateText(const SYSTEMTIME& date) {
  CUiString text;
  text.Format(L"%4d-%02d-%02d", static_cast<int>(date.wYear), static_cast<int>(date.wMonth),
              static_cast<int>(date.wDay));
  return text;
}

CDateTimeUI::CDateTimeUI() : m_updateMode(kSetDate), m_window(nullptr) {
  ::GetLocalTime(&m_date);
  CLabelUI::SetText(FormatDateText(m_date));
}

CDateTimeUI::~CDateTimeUI() {
  if (CDateTimeWnd* window = m_window) {
    m_window = nullptr;
    window->Detach();
    // The window deletes its object once it is gone.
    if (HWND hwnd = window->GetHWND()) ::DestroyWindow(hwnd);
  }
}

const wchar_t* CDateTimeUI::ClassName() const { return L"DateTimeUI"; }

LPVOID CDateTimeUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"DateTime")) return static_cast<CDateTimeUI*>(this);
  return CLabelUI::FindInterface(name);
}

HWND CDateTimeUI::GetPickerWindow() const { return m_window ? m_window->GetHWND() : nullptr; }

void CDateTimeUI::UpdateText() {
  if (m_updateMode == kSetDate)
    CLabelUI::SetText(FormatDateText(m_date));
  else if (m_updateMode == kClearText)
    CLabelUI::SetText(L"");
}

void CDateTimeUI::OpenPicker() {
  if (!m_window) m_window = new CDateTimeWnd;
  CDateTimeWnd* window = m_window;
  if (!window->Init(this)) {
    // Init has deleted the object; the control stays a plain label.
    if (m_window == window) m_window = nullptr;
    return;
  }
  ::ShowWindow(window->GetHWND(), SW_SHOWNORMAL);
}

void CDateTimeUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CLabelUI::OnEvent(event);
    return;
  }
  if (HandleNativeHostEvent(*this, m_window != nullptr, event)) return;
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
      if (IsEnabled() && !m_window) OpenPicker();
      break;
    case UIEVENT_KILLFOCUS:
      if (IsEnabled()) {
        Invalidate();
        // The focus went to another control of the window while the
        // picker (or its calendar) was open: that ends the edit too.
        if (m_window) m_window->EndUnlessFocused();
      }
      break;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSELEAVE:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        if (m_manager) m_manager->ReleaseMouseCapture();
        if (IsFocused() || m_window) OpenPicker();
      }
      return;
    default:
      break;
  }
  CLabelUI::OnEvent(event);
}

}  // namespace UiToolkit
