// State, attributes and input of the scroll bar.
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/ui_event.h"

#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/scroll_bar_geometry.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {


struct ImageAttribute {
  const wchar_t* name;
  CScrollBarUI::Part part;
  CScrollBarUI::State state;
};

const ImageAttribute kImageAttributes[] = {
    {L"button1normalimage", CScrollBarUI::kButton1, CScrollBarUI::kNormal},
    {L"button1hotimage", CScrollBarUI::kButton1, CScrollBarUI::kHot},
    {L"button1pushedimage", CScrollBarUI::kButton1, CScrollBarUI::kPushed},
    {L"button1disabledimage", CScrollBarUI::kButton1, CScrollBarUI::kDisabled},
    {L"button2normalimage", CScrollBarUI::kButton2, CScrollBarUI::kNormal},
    {L"button2hotimage", CScrollBarUI::kButton2, CScrollBarUI::kHot},
    {L"button2pushedimage", CScrollBarUI::kButton2, CScrollBarUI::kPushed},
    {L"button2disabledimage", CScrollBarUI::kButton2, CScrollBarUI::kDisabled},
    {L"thumbnormalimage", CScrollBarUI::kThumb, CScrollBarUI::kNormal},
    {L"thumbhotimage", CScrollBarUI::kThumb, CScrollBarUI::kHot},
    {L"thumbpushedimage", CScrollBarUI::kThumb, CScrollBarUI::kPushed},
    {L"thumbdisabledimage", CScrollBarUI::kThumb, CScrollBarUI::kDisabled},
    {L"railnormalimage", CScrollBarUI::kRail, CScrollBarUI::kNormal},
    {L"railhotimage", CScrollBarUI::kRail, CScrollBarUI::kHot},
    {L"railpushedimage", CScrollBarUI::kRail, CScrollBarUI::kPushed},
    {L"raildisabledimage", CScrollBarUI::kRail, CScrollBarUI::kDisabled},
    {L"bknormalimage", CScrollBarUI::kBack, CScrollBarUI::kNormal},
    {L"bkhotimage", CScrollBarUI::kBack, CScrollBarUI::kHot},
    {L"bkpushedimage", CScrollBarUI::kBack, CScrollBarUI::kPushed},
    {L"bkdisabledimage", CScrollBarUI::kBack, CScrollBarUI::kDisabled},
};

}  // namespace

CScrollBarUI::CScrollBarUI()
    : m_horizontal(false),
      m_range(100),
      m_pos(0),
      m_lineSize(8),
      m_owner(nullptr),
      m_dragStartPos(0),
      m_dragOffset(0),
      m_repeatCount(0),
      m_showButton1(true),
      m_button1State(0),
      m_showButton2(true),
      m_button2State(0),
      m_thumbState(0) {
  m_dragStart.x = m_dragStart.y = 0;
  SetRectEmpty(&m_button1);
  SetRectEmpty(&m_button2);
  SetRectEmpty(&m_thumb);
  m_fixedSize.cx = 16;
}

CScrollBarUI::~CScrollBarUI() {}

const wchar_t* CScrollBarUI::ClassName() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::FindInterface(const wchar_t* name) {
  if (name && (SameName(name, L"ScrollBar") || SameName(name, L"Control"))) return this;
  return nullptr;
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (m_horizontal == horizontal) return;
  m_horizontal = horizontal;
  if (horizontal && m_fixedSize.cy == 0) {
    m_fixedSize.cx = 0;
    m_fixedSize.cy = 16;
  } else if (!horizontal && m_fixedSize.cx == 0) {
    m_fixedSize.cx = 16;
    m_fixedSize.cy = 0;
  }
  if (m_owner) {
    m_owner->RequestRelayout();
  } else {
    RequestParentRelayout();
  }
}

void CScrollBarUI::SetScrollRange(int range) {
  if (m_range == range) return;
  m_range = range < 0 ? 0 : range;
  if (m_pos > m_range) m_pos = m_range;
  SetBounds(m_bounds);
}

void CScrollBarUI::SetScrollPos(int pos) {
  if (m_pos == pos) return;
  m_pos = pos < 0 ? 0 : pos;
  if (m_pos > m_range) m_pos = m_range;
  SetBounds(m_bounds);
}

void CScrollBarUI::SetShowButton1(bool show) {
  m_showButton1 = show;
  SetBounds(m_bounds);
}

void CScrollBarUI::SetShowButton2(bool show) {
  m_showButton2 = show;
  SetBounds(m_bounds);
}

void CScrollBarUI::SetImage(Part part, State state, const wchar_t* image) {
  m_images[part][state] = image;
  Invalidate();
}

void CScrollBarUI::SetVisible(bool visible) {
  // The owner's layout places and shows its bars; nothing is relaid here.
  if (m_visible == visible) return;
  m_visible = visible;
  m_focused = false;
}

void CScrollBarUI::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  Invalidate();
  if (!enabled) m_button1State = m_button2State = m_thumbState = 0;
}

void CScrollBarUI::SetFocus() {
  if (m_owner)
    m_owner->SetFocus();
  else
    CControlUI::SetFocus();
}

void CScrollBarUI::SetBounds(RECT rc) {
  CControlUI::SetBounds(rc);
  PlaceParts();
}

void CScrollBarUI::PlaceParts() {
  int thickness = m_horizontal ? m_fixedSize.cy : m_fixedSize.cx;
  TScrollBarParts parts = LayoutScrollBar(m_bounds, thickness, m_horizontal, m_showButton1,
                                          m_showButton2, m_range, m_pos);
  m_button1 = parts.button1;
  m_button2 = parts.button2;
  m_thumb = parts.thumb;
}

void CScrollBarUI::MovePosition(int pos) {
  if (!m_owner) {
    SetScrollPos(pos);
    return;
  }
  SIZE owner_pos = m_owner->GetScrollPos();
  (m_horizontal ? owner_pos.cx : owner_pos.cy) = pos;
  m_owner->SetScrollPos(owner_pos);
}

void CScrollBarUI::LineStep(int direction) {
  if (!m_owner) {
    SetScrollPos(m_pos + direction * m_lineSize);
  } else if (m_horizontal) {
    direction < 0 ? m_owner->ScrollLineLeft() : m_owner->ScrollLineRight();
  } else {
    direction < 0 ? m_owner->ScrollLineUp() : m_owner->ScrollLineDown();
  }
}

void CScrollBarUI::PageStep(int direction) {
  if (!m_owner) {
    int length = m_horizontal ? m_bounds.GetWidth() : m_bounds.GetHeight();
    SetScrollPos(m_pos + direction * length);
  } else if (m_horizontal) {
    direction < 0 ? m_owner->ScrollPageLeft() : m_owner->ScrollPageRight();
  } else {
    direction < 0 ? m_owner->ScrollPageUp() : m_owner->ScrollPageDown();
  }
}

void CScrollBarUI::OnButtonDown(const TUiEvent& event) {
  m_dragOffset = 0;
  m_repeatCount = 0;
  if (m_manager) m_manager->StartTimer(this, kRepeatTimerId, kRepeatTimerMs);
  const POINT pt = event.ptMouse;
  if (::PtInRect(&m_button1, pt)) {
    m_button1State |= kStatePushed;
    LineStep(-1);
  } else if (::PtInRect(&m_button2, pt)) {
    m_button2State |= kStatePushed;
    LineStep(+1);
  } else if (::PtInRect(&m_thumb, pt)) {
    m_thumbState |= kStatePushed | kStateCaptured;
    m_dragStart = pt;
    m_dragStartPos = m_pos;
  } else if (!::IsRectEmpty(&m_thumb)) {
    int along = Along(pt);
    if (along < (m_horizontal ? m_thumb.left : m_thumb.top))
      PageStep(-1);
    else if (along >= (m_horizontal ? m_thumb.right : m_thumb.bottom))
      PageStep(+1);
  }
  Invalidate();
}

void CScrollBarUI::OnMouseMove(const TUiEvent& event) {
  if (m_thumbState & kStateCaptured) {
    int thickness = m_horizontal ? m_fixedSize.cy : m_fixedSize.cx;
    int travel =
        ThumbTravel(m_bounds, thickness, m_horizontal, m_showButton1, m_showButton2, m_thumb);
    if (travel == 0) return;
    // The position follows on the next tick of the repeat timer.
    m_dragOffset = DragToPositionDelta(Along(event.ptMouse) - Along(m_dragStart), m_range, travel);
    return;
  }
  bool over = ::PtInRect(&m_thumb, event.ptMouse) != FALSE;
  if (over && IsEnabled() && !(m_thumbState & kStateHot)) {
    m_thumbState |= kStateHot;
    Invalidate();
  } else if (!over && (m_thumbState & kStateHot)) {
    m_thumbState &= ~kStateHot;
    Invalidate();
  }
}

void CScrollBarUI::OnButtonUp() {
  if (m_manager) m_manager->StopTimer(this, kRepeatTimerId);
  m_repeatCount = 0;
  m_dragOffset = 0;
  if (m_thumbState & kStateCaptured) {
    m_thumbState &= ~(kStatePushed | kStateCaptured);
  } else if (m_button1State & kStatePushed) {
    m_button1State &= ~kStatePushed;
  } else if (m_button2State & kStatePushed) {
    m_button2State &= ~kStatePushed;
  } else {
    return;
  }
  Invalidate();
}

bool CScrollBarUI::OnRepeatTick() {
  ++m_repeatCount;
  if (m_thumbState & kStateCaptured) {
    MovePosition(m_dragStartPos + m_dragOffset);
    Invalidate();
    return true;
  }
  // The first repeat comes 300 ms after the press, then one every tick.
  if (m_repeatCount < kTicksBeforeRepeat) return false;
  if (m_button1State & kStatePushed) {
    LineStep(-1);
    return true;
  }
  if (m_button2State & kStatePushed) {
    LineStep(+1);
    return true;
  }
  if (::IsRectEmpty(&m_thumb) || !m_manager) return false;
  POINT pt;
  if (!::GetCursorPos(&pt)) return false;
  ::ScreenToClient(m_manager->GetWindow(), &pt);
  int along = Along(pt);
  if (along < (m_horizontal ? m_thumb.left : m_thumb.top)) {
    PageStep(-1);
    return true;
  }
  if (along > (m_horizontal ? m_thumb.right : m_thumb.bottom)) {
    PageStep(+1);
    return true;
  }
  return false;
}

void CScrollBarUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_owner)
      m_owner->OnEvent(event);
    else
      CControlUI::OnEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!IsEnabled()) return;
      OnButtonDown(event);
      // An owned bar has moved its owner; a standalone one tells the window.
      if (!m_owner) Emit(UI_NOTIFY_SCROLL);
      return;
    case UIEVENT_MOUSEMOVE:
      OnMouseMove(event);
      return;
    case UIEVENT_BUTTONUP:
      OnButtonUp();
      return;
    case UIEVENT_TIMER:
      if (event.wParam != kRepeatTimerId) break;
      if (OnRepeatTick() && !m_owner) Emit(UI_NOTIFY_SCROLL);
      return;
    case UIEVENT_MOUSEENTER:
      if (!IsEnabled()) return;
      m_button1State |= kStateHot;
      m_button2State |= kStateHot;
      if (::PtInRect(&m_thumb, event.ptMouse)) m_thumbState |= kStateHot;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      if (!IsEnabled()) return;
      m_button1State &= ~kStateHot;
      m_button2State &= ~kStateHot;
      m_thumbState &= ~kStateHot;
      Invalidate();
      return;
    case UIEVENT_CONTEXTMENU:
    case UIEVENT_KILLFOCUS:
    case UIEVENT_SETFOCUS:
      return;
    default:
      if (m_owner) {
        m_owner->OnEvent(event);
        return;
      }
      break;
  }
  CControlUI::OnEvent(event);
}

void CScrollBarUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  for (const ImageAttribute& a : kImageAttributes) {
    if (SameName(name, a.name)) {
      SetImage(a.part, a.state, value);
      return;
    }
  }
  if (SameName(name, L"hor")) {
    SetHorizontal(ParseBoolValue(value));
  } else if (SameName(name, L"linesize")) {
    SetLineSize(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"range")) {
    SetScrollRange(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"value")) {
    SetScrollPos(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"showbutton1")) {
    SetShowButton1(ParseBoolValue(value));
  } else if (SameName(name, L"showbutton2")) {
    SetShowButton2(ParseBoolValue(value));
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}

}  // namespace UiToolkit
