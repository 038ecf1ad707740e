#include "uitoolkit/controls/combo.h"

#include <wchar.h>

#include "uitoolkit/controls/combo_wnd.h"
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/list_item_style.h"
#include "uitoolkit/controls/list_row_support.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CComboUI::CComboUI()
    : m_state(0), m_window(nullptr), m_selected(-1), m_dropBoxSize(SIZE{0, 150}) {
  SetRectEmpty(&m_textPadding);
}

CComboUI::~CComboUI() {
  if (CComboWnd* window = m_window) {
    m_window = nullptr;
    window->Detach();
    // The window deletes its object once it is gone.
    if (HWND hwnd = window->GetHWND()) ::DestroyWindow(hwnd);
  }
}

const wchar_t* CComboUI::ClassName() const { return L"ComboUI"; }

LPVOID CComboUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"Combo")) return static_cast<CComboUI*>(this);
  if (name && SameName(name, L"IListOwner")) return static_cast<IListOwnerUI*>(this);
  return CContainerUI::FindInterface(name);
}

UINT CComboUI::CapabilityFlags() const { return UIFLAG_TABSTOP; }

HWND CComboUI::GetPopupWindow() const { return m_window ? m_window->GetHWND() : nullptr; }

CVerticalLayoutUI* CComboUI::GetPopupLayout() const {
  return m_window ? m_window->Layout() : nullptr;
}

bool CComboUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_window) return true;
  m_window = new CComboWnd;
  if (!m_window->Init(this)) {
    m_window = nullptr;
    return false;
  }
  // Repainted before the news goes out: a receiver may delete the combo.
  Invalidate();
  Emit(UI_NOTIFY_DROPDOWN);
  return true;
}

CUiString CComboUI::GetText() const {
  CControlUI* item = m_selected >= 0 ? GetItemAt(m_selected) : nullptr;
  return item ? item->GetText() : CUiString();
}

void CComboUI::SetBounds(RECT rc) {
  // No item is ever visible inside the combo; while they are lent, the
  // popup's column places them.
  if (!m_window || !m_window->HasLentItems()) {
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetBounds(RECT{0, 0, 0, 0});
  }
  CControlUI::SetBounds(rc);
}

void CComboUI::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  if (!enabled) m_state = 0;
  Invalidate();
}

void CComboUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize) {
  // Lent items belong to the popup's manager until they come back.
  if (m_window && m_window->HasLentItems()) {
    if (m_verticalScrollBar) m_verticalScrollBar->AttachManager(manager, this, initialize);
    if (m_horizontalScrollBar) m_horizontalScrollBar->AttachManager(manager, this, initialize);
    CControlUI::AttachManager(manager, parent, initialize);
    return;
  }
  CContainerUI::AttachManager(manager, parent, initialize);
}

CControlUI* CComboUI::Search(FindControlProc proc, LPVOID data, UINT flags) {
  if (flags & UIFIND_HITTEST) return CControlUI::Search(proc, data, flags);
  return CContainerUI::Search(proc, data, flags);
}

SIZE CComboUI::MeasureSize(SIZE) {
  if (m_fixedSize.cy != 0) return m_fixedSize;
  const TUiFontInfo* font = m_manager ? m_manager->DefaultFont() : nullptr;
  return SIZE{m_fixedSize.cx, (font ? font->tm.tmHeight : 0) + 12};
}

void CComboUI::SetTextPadding(RECT padding) {
  m_textPadding = padding;
  Invalidate();
}

void CComboUI::SetImage(CUiString& image, const wchar_t* value) {
  image = value;
  Invalidate();
}

void CComboUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  if (SameName(name, L"textpadding")) {
    SetTextPadding(ParseRectValue(value));
  } else if (SameName(name, L"normalimage")) {
    SetImage(m_normalImage, value);
  } else if (SameName(name, L"hotimage")) {
    SetImage(m_hotImage, value);
  } else if (SameName(name, L"pushedimage")) {
    SetImage(m_pushedImage, value);
  } else if (SameName(name, L"focusedimage")) {
    SetImage(m_focusedImage, value);
  } else if (SameName(name, L"disabledimage")) {
    SetImage(m_disabledImage, value);
  } else if (SameName(name, L"dropbox")) {
    m_dropBoxAttributes = value;
  } else if (SameName(name, L"dropboxsize")) {
    m_dropBoxSize = ParseSizeValue(value);
  } else if (ApplyItemStyleAttribute(m_style, name, value) != UIITEMSTYLE_UNKNOWN) {
    Invalidate();
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

// ---- events ----

void CComboUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CContainerUI::OnEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      break;
    case UIEVENT_BUTTONDOWN:
      if (IsEnabled()) {
        Activate();
        m_state |= UISTATE_PUSHED | UISTATE_CAPTURED;
        return;
      }
      break;
    case UIEVENT_BUTTONUP:
      if (m_state & UISTATE_CAPTURED) {
        // Pushed stays until the popup is gone.
        m_state &= ~UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_KEYDOWN:
      switch (event.chKey) {
        case VK_UP:
        case VK_PRIOR:
          SelectItem(FindSelectableItem(m_selected - 1, false));
          return;
        case VK_DOWN:
        case VK_NEXT:
          SelectItem(FindSelectableItem(m_selected + 1, true));
          return;
        case VK_HOME:
          SelectItem(FindSelectableItem(0, true));
          return;
        case VK_END:
          SelectItem(FindSelectableItem(GetCount() - 1, true));
          return;
        case VK_F4:
          Activate();
          return;
        default:
          break;
      }
      break;
    case UIEVENT_SCROLLWHEEL:
      if (event.wParam == 1)
        SelectItem(FindSelectableItem(m_selected + 1, true));
      else
        SelectItem(FindSelectableItem(m_selected - 1, false));
      return;
    case UIEVENT_MOUSEENTER:
      if (::PtInRect(&m_bounds, event.ptMouse)) {
        m_state |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (m_state & UISTATE_HOT) {
        m_state &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    default:
      break;
  }
  CControlUI::OnEvent(event);
}

// ---- painting ----

void CComboUI::Paint(HDC hdc, const RECT& dirty) { CControlUI::Paint(hdc, dirty); }

void CComboUI::RefreshFocusAndDisabled() { m_state = WithFocusAndDisabled(m_state, *this); }

void CComboUI::PaintStateImage(HDC hdc) {
  RefreshFocusAndDisabled();
  struct {
    UINT bit;
    CUiString* image;
  } const kOrder[] = {{UISTATE_DISABLED, &m_disabledImage},
                      {UISTATE_PUSHED, &m_pushedImage},
                      {UISTATE_HOT, &m_hotImage},
                      {UISTATE_FOCUSED, &m_focusedImage}};
  for (const auto& entry : kOrder) {
    if ((m_state & entry.bit) && !entry.image->IsEmpty() &&
        DrawImageOrClear(*this, hdc, *entry.image))
      return;
  }
  if (!m_normalImage.IsEmpty()) DrawImageOrClear(*this, hdc, m_normalImage);
}

RECT CComboUI::TextArea() const {
  return RECT{m_bounds.left + m_textPadding.left, m_bounds.top + m_textPadding.top,
              m_bounds.right - m_textPadding.right, m_bounds.bottom - m_textPadding.bottom};
}

void CComboUI::PaintText(HDC hdc) { PaintSelectedText(hdc, TextArea()); }

void CComboUI::PaintSelectedText(HDC hdc, const RECT& rc) {
  CControlUI* control = m_selected >= 0 ? GetItemAt(m_selected) : nullptr;
  if (!control) return;
  if (IListItemUI* item = ListItemOf(control)) {
    item->DrawItemText(hdc, rc);
    return;
  }
  const RECT old = control->GetBounds();
  control->SetBounds(rc);
  control->Paint(hdc, rc);
  control->SetBounds(old);
}

// ---- items ----

void CComboUI::RenumberItems(int from) {
  for (int i = from < 0 ? 0 : from; i < GetCount(); ++i) {
    if (IListItemUI* item = ListItemOf(GetItemAt(i))) item->SetIndex(i);
  }
}

bool CComboUI::Add(CControlUI* control) {
  if (!control) return false;
  if (IListItemUI* item = ListItemOf(control)) {
    item->SetOwner(this);
    item->SetIndex(GetCount());
  }
  if (!CContainerUI::Add(control)) return false;
  if (m_window) m_window->ItemAdded(control, GetCount() - 1);
  return true;
}

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!control || !CContainerUI::AddAt(control, index)) return false;
  if (IListItemUI* item = ListItemOf(control)) {
    item->SetOwner(this);
    item->SetIndex(index);
  }
  RenumberItems(index + 1);
  if (m_selected >= index) ++m_selected;
  if (m_window) m_window->ItemAdded(control, index);
  return true;
}

bool CComboUI::Remove(CControlUI* control) {
  const int index = control ? GetItemIndex(control) : -1;
  if (index < 0) return false;
  // Out of the popup before it is destroyed.
  if (m_window) m_window->ItemRemoved(control);
  if (!CContainerUI::Remove(control)) return false;
  RenumberItems(index);
  if (index == m_selected) {
    m_selected = -1;
    SelectItem(FindSelectableItem(index, false), false);
  } else if (index < m_selected) {
    --m_selected;
  }
  return true;
}

bool CComboUI::RemoveAt(int index) {
  CControlUI* control = GetItemAt(index);
  return control ? Remove(control) : false;
}

void CComboUI::RemoveAll() {
  m_selected = -1;
  if (m_window) m_window->AllItemsRemoved();
  CContainerUI::RemoveAll();
}

bool CComboUI::MoveItemTo(CControlUI* control, int index) {
  const int from = control ? GetItemIndex(control) : -1;
  if (from < 0) return false;
  if (from == index) return true;
  CControlUI* selected = GetItemAt(m_selected);
  if (!CContainerUI::MoveItemTo(control, index)) return false;
  RenumberItems(from < index ? from : index);
  if (selected) m_selected = GetItemIndex(selected);
  if (m_window) m_window->ItemMoved(control, index);
  return true;
}

// ---- selection ----

bool CComboUI::SelectItem(int index, bool take_focus) {
  // Every selection change closes the drop-down.
  if (m_window) m_window->PostClose();
  if (index == m_selected) return true;
  const int previous = m_selected;
  if (m_selected >= 0) {
    CControlUI* old = GetItemAt(m_selected);
    m_selected = -1;
    if (!old) return false;
    if (IListItemUI* item = ListItemOf(old)) item->Select(false);
  }
  const int count = GetCount();
  if (index < 0 || count == 0) return false;
  if (index >= count) index = count - 1;
  CControlUI* control = GetItemAt(index);
  IListItemUI* item = ListItemOf(control);
  if (!control->IsVisible() || !control->IsEnabled() || !item) return false;
  m_selected = index;
  if (m_window || take_focus) control->SetFocus();
  // A refusal leaves the selection where it is.
  item->Select(true);
  // Repainted before the news goes out: a receiver may delete the combo.
  Invalidate();
  if (m_manager) m_manager->EmitNotify(this, UI_NOTIFY_ITEMSELECT, index, previous);
  return true;
}

}  // namespace UiToolkit
