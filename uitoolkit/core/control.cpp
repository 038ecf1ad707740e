// State, layout requests, search and events of the base control.
#include "uitoolkit/core/control.h"

#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CControlUI::CControlUI()
    : m_manager(nullptr),
      m_parent(nullptr),
      m_updateNeeded(true),
      m_contextMenu(false),
      m_visible(true),
      m_inheritedVisible(true),
      m_enabled(true),
      m_mouseEnabled(true),
      m_keyboardEnabled(true),
      m_focused(false),
      m_float(false),
      m_inSizeDelegates(false),
      m_shortcut(0),
      m_tag(0),
      m_bkColor1(0),
      m_bkColor2(0),
      m_bkColor3(0),
      m_borderColor(0),
      m_focusBorderColor(0),
      m_colorHsl(false),
      m_borderSize(0),
      m_borderStyle(PS_SOLID),
      m_toolTipWidth(300),
      m_icon(nullptr) {
  SetRectEmpty(&m_padding);
  m_fixedXY.x = m_fixedXY.y = 0;
  m_fixedSize.cx = m_fixedSize.cy = 0;
  m_minSize.cx = m_minSize.cy = 0;
  m_maxSize.cx = m_maxSize.cy = 9999;
  ZeroMemory(&m_relative, sizeof(m_relative));
  m_borderRound.cx = m_borderRound.cy = 0;
  SetRectEmpty(&m_paintRect);
  SetRectEmpty(&m_borderSides);
  m_iconSize.cx = m_iconSize.cy = 0;
}

CControlUI::~CControlUI() {
  OnDestroyDelegates.Raise(this);
  if (m_manager) m_manager->ForgetControl(this);
}

CUiString CControlUI::GetName() const { return m_name; }
void CControlUI::SetName(const wchar_t* name) {
  if (m_name == name) return;
  // An entry under the old name would outlive this control: deletion only
  // forgets the name the control has then.
  if (m_manager && !m_name.IsEmpty()) m_manager->ForgetName(m_name, this);
  m_name = name;
}
const wchar_t* CControlUI::ClassName() const { return L"ControlUI"; }

LPVOID CControlUI::FindInterface(const wchar_t* name) {
  return (name && wcscmp(name, L"Control") == 0) ? this : nullptr;
}

UINT CControlUI::CapabilityFlags() const { return 0; }
bool CControlUI::Activate() { return !m_removed && IsVisible() && IsEnabled(); }
CWindowManagerUI* CControlUI::GetManager() const { return m_manager; }

void CControlUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize) {
  m_manager = manager;
  m_parent = parent;
  if (initialize && m_parent) Initialize();
}

CControlUI* CControlUI::GetParent() const { return m_parent; }
CUiString CControlUI::GetText() const { return m_text; }

void CControlUI::SetText(const wchar_t* text) {
  if (m_text == text) return;
  m_text = text;
  Invalidate();
}

const RECT& CControlUI::GetBounds() const { return m_bounds; }
int CControlUI::GetWidth() const { return m_bounds.right - m_bounds.left; }
int CControlUI::GetHeight() const { return m_bounds.bottom - m_bounds.top; }
int CControlUI::GetLeft() const { return m_bounds.left; }
int CControlUI::GetTop() const { return m_bounds.top; }

void CControlUI::SetBounds(RECT rc) {
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  CUiRect invalid = m_bounds;
  if (::IsRectEmpty(&invalid)) invalid = rc;
  m_bounds = rc;
  if (!m_manager) return;
  if (!m_inSizeDelegates) {
    m_inSizeDelegates = true;
    OnSizeDelegates.Raise(this);
    m_inSizeDelegates = false;
  }
  if (m_float && m_parent) {
    const RECT& pb = m_parent->GetBounds();
    m_fixedXY.x = m_fixedXY.x < 0 ? m_bounds.right - pb.right : m_bounds.left - pb.left;
    m_fixedXY.y = m_fixedXY.y < 0 ? m_bounds.bottom - pb.bottom : m_bounds.top - pb.top;
    m_fixedSize.cx = m_bounds.GetWidth();
    m_fixedSize.cy = m_bounds.GetHeight();
  }
  m_updateNeeded = false;
  invalid.Union(m_bounds);
  for (CControlUI* p = m_parent; p; p = p->GetParent()) {
    if (!invalid.Intersect(p->GetBounds())) return;
  }
  m_manager->Invalidate(invalid);
}

RECT CControlUI::GetPadding() const { return m_padding; }
void CControlUI::SetPadding(RECT rc) {
  m_padding = rc;
  RequestParentRelayout();
}

POINT CControlUI::GetFixedOrigin() const { return m_fixedXY; }

void CControlUI::SetFixedOrigin(POINT pt) {
  m_fixedXY = pt;
  if (!m_float) {
    RequestParentRelayout();
  } else if (IsVisible()) {
    m_updateNeeded = true;
    Invalidate();
    if (m_manager) m_manager->NeedUpdate();
  }
}

int CControlUI::GetFixedWidth() const { return m_fixedSize.cx; }
void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_fixedSize.cx = cx;
  SetFixedOrigin(m_fixedXY);
}
int CControlUI::GetFixedHeight() const { return m_fixedSize.cy; }
void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_fixedSize.cy = cy;
  SetFixedOrigin(m_fixedXY);
}

namespace {
void SetLimit(CControlUI* self, LONG* field, int value, bool is_float) {
  if (value < 0 || *field == value) return;
  *field = value;
  if (is_float)
    self->RequestRelayout();
  else
    self->RequestParentRelayout();
}
}  // namespace

int CControlUI::GetMinWidth() const { return m_minSize.cx; }
void CControlUI::SetMinWidth(int cx) { SetLimit(this, &m_minSize.cx, cx, m_float); }
int CControlUI::GetMaxWidth() const { return m_maxSize.cx; }
void CControlUI::SetMaxWidth(int cx) { SetLimit(this, &m_maxSize.cx, cx, m_float); }
int CControlUI::GetMinHeight() const { return m_minSize.cy; }
void CControlUI::SetMinHeight(int cy) { SetLimit(this, &m_minSize.cy, cy, m_float); }
int CControlUI::GetMaxHeight() const { return m_maxSize.cy; }
void CControlUI::SetMaxHeight(int cy) { SetLimit(this, &m_maxSize.cy, cy, m_float); }

void CControlUI::SetRelativePos(int move_x, int move_y, int zoom_x, int zoom_y) {
  m_relative.bRelative = true;
  m_relative.nMoveXPercent = move_x;
  m_relative.nMoveYPercent = move_y;
  m_relative.nZoomXPercent = zoom_x;
  m_relative.nZoomYPercent = zoom_y;
}
void CControlUI::SetRelativeParentSize(SIZE size) { m_relative.szParent = size; }
TUiRelativePos CControlUI::GetRelativePos() const { return m_relative; }
bool CControlUI::IsRelativePos() const { return m_relative.bRelative; }

CUiString CControlUI::GetToolTip() const { return m_toolTip; }
void CControlUI::SetToolTip(const wchar_t* text) {
  m_toolTip = text;
  m_toolTip.ReplaceAll(L"<n>", L"\r\n");
}
void CControlUI::SetToolTipWidth(int width) { m_toolTipWidth = width; }
int CControlUI::GetToolTipWidth() const { return m_toolTipWidth; }
wchar_t CControlUI::GetShortcut() const { return m_shortcut; }
void CControlUI::SetShortcut(wchar_t ch) { m_shortcut = ch; }
bool CControlUI::IsContextMenuEnabled() const { return m_contextMenu; }
void CControlUI::SetContextMenuEnabled(bool enabled) { m_contextMenu = enabled; }
const CUiString& CControlUI::GetUserData() const { return m_userData; }
void CControlUI::SetUserData(const wchar_t* text) { m_userData = text; }
UINT_PTR CControlUI::GetTag() const { return m_tag; }
void CControlUI::SetTag(UINT_PTR tag) { m_tag = tag; }

bool CControlUI::IsVisible() const { return m_visible && m_inheritedVisible; }

void CControlUI::SetVisible(bool visible) {
  if (m_visible == visible) return;
  bool was_visible = IsVisible();
  m_focused = false;
  m_visible = visible;
  if (!visible && m_manager && m_manager->GetFocusControl() == this)
    m_manager->SetFocusControl(nullptr);
  if (IsVisible() != was_visible) RequestParentRelayout();
}

void CControlUI::SetInheritedVisible(bool visible) {
  m_inheritedVisible = visible;
  if (!visible && m_manager && m_manager->GetFocusControl() == this)
    m_manager->SetFocusControl(nullptr);
}

bool CControlUI::IsEnabled() const { return m_enabled; }
void CControlUI::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  Invalidate();
}
bool CControlUI::IsMouseEnabled() const { return m_mouseEnabled; }
void CControlUI::SetMouseEnabled(bool enabled) { m_mouseEnabled = enabled; }
bool CControlUI::IsKeyboardEnabled() const { return m_keyboardEnabled; }
void CControlUI::SetKeyboardEnabled(bool enabled) { m_keyboardEnabled = enabled; }
bool CControlUI::IsFocused() const { return m_focused; }
void CControlUI::SetFocus() {
  if (m_manager) m_manager->SetFocusControl(this);
}
bool CControlUI::IsFloat() const { return m_float; }
void CControlUI::SetFloat(bool is_float) {
  if (m_float == is_float) return;
  m_float = is_float;
  RequestParentRelayout();
}

void CControlUI::SetVirtualWindow(const wchar_t* name) {
  m_virtualWnd = name;
  if (m_manager) m_manager->SetVirtualWindowsUsed();
}

CUiString CControlUI::GetVirtualWindow() const {
  if (!m_virtualWnd.IsEmpty()) return m_virtualWnd;
  return m_parent ? m_parent->GetVirtualWindow() : CUiString();
}

CControlUI* CControlUI::Search(FindControlProc proc, LPVOID data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) &&
      (!m_mouseEnabled || !::PtInRect(&m_bounds, *static_cast<const POINT*>(data))))
    return nullptr;
  return proc(this, data);
}

void CControlUI::Initialize() {
  OnInitialize();
  OnInitDelegates.Raise(this);
}

void CControlUI::OnInitialize() {}

void CControlUI::HandleEvent(TUiEvent& event) {
  if (!OnEventDelegates.Raise(&event)) return;
  OnEvent(event);
}

void CControlUI::OnEvent(TUiEvent& event) {
  switch (event.Type) {
    case UIEVENT_CONTEXTMENU:
      if (m_contextMenu) {
        Emit(UI_NOTIFY_MENU, event.wParam, event.lParam);
        return;
      }
      break;
    case UIEVENT_KILLFOCUS:
      m_focused = false;
      Invalidate();
      return;
    case UIEVENT_SETFOCUS:
      m_focused = true;
      Invalidate();
      return;
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      return;
    case UIEVENT_TIMER:
      Emit(UI_NOTIFY_TIMER, event.wParam, event.lParam);
      return;
    default:
      break;
  }
  if (m_parent) m_parent->OnEvent(event);
}

SIZE CControlUI::MeasureSize(SIZE) { return m_fixedSize; }

void CControlUI::Invalidate() {
  if (m_removed || !IsVisible()) return;
  CUiRect area = m_bounds;
  for (CControlUI* p = m_parent; p; p = p->GetParent()) {
    if (!area.Intersect(p->GetBounds())) return;
  }
  if (m_manager) m_manager->Invalidate(area);
}

void CControlUI::RequestRelayout() {
  if (m_removed || !IsVisible()) return;
  m_updateNeeded = true;
  Invalidate();
  if (m_manager) m_manager->NeedUpdate();
}

void CControlUI::RequestParentRelayout() {
  if (!m_parent) {
    RequestRelayout();
    // A hidden control still leaves the manager knowing a layout is due.
    if (m_manager) m_manager->NeedUpdate();
    return;
  }
  if (m_parent->IsVisible()) {
    m_parent->m_updateNeeded = true;
    m_parent->Invalidate();
  }
  m_parent->Invalidate();
  if (m_manager) m_manager->NeedUpdate();
}

void CControlUI::Emit(const wchar_t* type, WPARAM wParam, LPARAM lParam) {
  if (m_manager && !m_removed) m_manager->EmitNotify(this, type, wParam, lParam);
}

void CControlUI::SetIcon(HICON icon) {
  if (icon == m_icon) return;
  m_icon = icon;
  if (!icon) return;
  m_iconSize.cx = m_iconSize.cy = 32;
  ICONINFO info = {};
  if (::GetIconInfo(icon, &info)) {
    BITMAP bm = {};
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
      m_iconSize.cx = bm.bmWidth;
      m_iconSize.cy = bm.bmHeight;
    }
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
  }
}

bool CControlUI::DrawImage(HDC hdc, const wchar_t* image, const wchar_t* modifier) {
  return CUiRender::PaintImageSpec(hdc, m_manager, m_bounds, m_paintRect, image, modifier);
}

}  // namespace UiToolkit
