// Children, ownership, visibility, events and attributes of the container.
#include "uitoolkit/controls/container.h"
#include "uitoolkit/core/ui_event.h"

#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CContainerUI::CContainerUI()
    : m_childPadding(0),
      m_autoDestroy(true),
      m_delayedDestroy(true),
      m_mouseChildEnabled(true),
      m_scrollProcessing(false),
      m_verticalScrollBar(nullptr),
      m_horizontalScrollBar(nullptr) {
  SetRectEmpty(&m_inset);
}

CContainerUI::~CContainerUI() {
  // Children go at once: the manager's deferred deletion may outlive the
  // window this container belongs to.
  m_delayedDestroy = false;
  RemoveAll();
  delete m_verticalScrollBar;
  delete m_horizontalScrollBar;
}

const wchar_t* CContainerUI::ClassName() const { return L"ContainerUI"; }

LPVOID CContainerUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"IContainer")) return static_cast<IContainerUI*>(this);
  if (name && SameName(name, L"Container")) return this;
  return CControlUI::FindInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  return static_cast<CControlUI*>(m_items.GetAt(index));
}

int CContainerUI::GetItemIndex(CControlUI* control) const { return m_items.Find(control); }
int CContainerUI::GetCount() const { return m_items.GetSize(); }

bool CContainerUI::AttachChild(CControlUI* control) {
  if (!control) return false;
  if (m_manager) {
    control->AttachManager(m_manager, this, true);
    m_manager->RegisterNames(control);
  }
  if (!IsVisible())
    control->SetInheritedVisible(false);
  else
    RequestRelayout();
  return true;
}

bool CContainerUI::Add(CControlUI* control) {
  if (!AttachChild(control)) return false;
  return m_items.Add(control);
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!AttachChild(control)) return false;
  return m_items.InsertAt(index, control);
}

void CContainerUI::DestroyChild(CControlUI* child) {
  if (m_delayedDestroy && m_manager)
    m_manager->DeleteLater(child);
  else
    delete child;
}

bool CContainerUI::Remove(CControlUI* control) {
  int index = control ? m_items.Find(control) : -1;
  if (index < 0) return false;
  RequestRelayout();
  // Out of the list before it is destroyed, so nothing its destructor
  // reaches finds it among the children.
  m_items.RemoveAt(index);
  if (m_autoDestroy) DestroyChild(control);
  return true;
}

bool CContainerUI::RemoveAt(int index) {
  CControlUI* control = GetItemAt(index);
  return control ? Remove(control) : false;
}

void CContainerUI::RemoveAll() {
  CUiPtrArray doomed(m_items);
  m_items.Empty();
  if (m_autoDestroy) {
    for (int i = 0; i < doomed.GetSize(); ++i) DestroyChild(static_cast<CControlUI*>(doomed[i]));
  }
  RequestRelayout();
}

bool CContainerUI::MoveItemTo(CControlUI* control, int index) {
  int from = control ? m_items.Find(control) : -1;
  if (from < 0) return false;
  // The target is checked before the child leaves the list, or a bad index
  // would lose it: any place in the list without the child, its end
  // included, so 0..count-1.
  if (index < 0 || index >= m_items.GetSize()) return false;
  RequestRelayout();
  m_items.RemoveAt(from);
  m_items.InsertAt(index, control);
  return true;
}

RECT CContainerUI::GetInset() const { return m_inset; }
void CContainerUI::SetInset(RECT inset) {
  m_inset = inset;
  RequestRelayout();
}
int CContainerUI::GetChildPadding() const { return m_childPadding; }
void CContainerUI::SetChildPadding(int padding) {
  m_childPadding = padding;
  RequestRelayout();
}
bool CContainerUI::IsAutoDestroy() const { return m_autoDestroy; }
void CContainerUI::SetAutoDestroy(bool on) { m_autoDestroy = on; }
bool CContainerUI::IsDelayedDestroy() const { return m_delayedDestroy; }
void CContainerUI::SetDelayedDestroy(bool on) { m_delayedDestroy = on; }
bool CContainerUI::IsMouseChildEnabled() const { return m_mouseChildEnabled; }
void CContainerUI::SetMouseChildEnabled(bool on) { m_mouseChildEnabled = on; }

int CContainerUI::FindSelectableItem(int start, bool forward) const {
  int count = GetCount();
  if (count == 0) return -1;
  if (start < 0) start = 0;
  if (start > count - 1) start = count - 1;
  auto selectable = [this](int i) {
    CControlUI* c = GetItemAt(i);
    return c->FindInterface(L"ListItem") && c->IsVisible() && c->IsEnabled();
  };
  if (!forward) {
    for (int i = start; i >= 0; --i)
      if (selectable(i)) return i;
    return FindSelectableItem(0, true);
  }
  for (int i = start; i < count; ++i)
    if (selectable(i)) return i;
  return -1;
}

void CContainerUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize) {
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->AttachManager(manager, this, initialize);
  if (m_verticalScrollBar) m_verticalScrollBar->AttachManager(manager, this, initialize);
  if (m_horizontalScrollBar) m_horizontalScrollBar->AttachManager(manager, this, initialize);
  CControlUI::AttachManager(manager, parent, initialize);
}

void CContainerUI::SetVisible(bool visible) {
  if (m_visible == visible) return;
  CControlUI::SetVisible(visible);
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetInheritedVisible(IsVisible());
}

void CContainerUI::SetInheritedVisible(bool visible) {
  CControlUI::SetInheritedVisible(visible);
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetInheritedVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled) {
  if (m_verticalScrollBar) m_verticalScrollBar->SetMouseEnabled(enabled);
  if (m_horizontalScrollBar) m_horizontalScrollBar->SetMouseEnabled(enabled);
  CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CControlUI::OnEvent(event);
    return;
  }
  if (event.Type == UIEVENT_SETFOCUS) {
    m_focused = true;
    return;
  }
  if (event.Type == UIEVENT_KILLFOCUS) {
    m_focused = false;
    return;
  }
  bool vertical = m_verticalScrollBar && m_verticalScrollBar->IsVisible() &&
                  m_verticalScrollBar->IsEnabled();
  bool horizontal = !vertical && m_horizontalScrollBar && m_horizontalScrollBar->IsVisible() &&
                    m_horizontalScrollBar->IsEnabled();
  if (vertical || horizontal) {
    if (event.Type == UIEVENT_KEYDOWN) {
      switch (event.chKey) {
        case VK_PRIOR: vertical ? ScrollPageUp() : ScrollPageLeft(); return;
        case VK_NEXT: vertical ? ScrollPageDown() : ScrollPageRight(); return;
        case VK_HOME: vertical ? ScrollToTop() : ScrollToLeftEnd(); return;
        case VK_END: vertical ? ScrollToBottom() : ScrollToRightEnd(); return;
        case VK_UP: vertical ? ScrollLineUp() : ScrollLineLeft(); return;
        case VK_DOWN: vertical ? ScrollLineDown() : ScrollLineRight(); return;
        default: break;
      }
    } else if (event.Type == UIEVENT_SCROLLWHEEL) {
      if (event.wParam == 0) {
        vertical ? ScrollLineUp() : ScrollLineLeft();
        return;
      }
      if (event.wParam == 1) {
        vertical ? ScrollLineDown() : ScrollLineRight();
        return;
      }
    }
  }
  CControlUI::OnEvent(event);
}

void CContainerUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  if (SameName(name, L"inset")) {
    SetInset(ParseRectValue(value));
  } else if (SameName(name, L"childpadding")) {
    SetChildPadding(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"mousechild")) {
    SetMouseChildEnabled(ParseBoolValue(value));
  } else if (SameName(name, L"vscrollbar")) {
    EnableScrollBars(ParseBoolValue(value), m_horizontalScrollBar != nullptr);
  } else if (SameName(name, L"hscrollbar")) {
    EnableScrollBars(m_verticalScrollBar != nullptr, ParseBoolValue(value));
  } else if (SameName(name, L"vscrollbarstyle")) {
    EnableScrollBars(true, m_horizontalScrollBar != nullptr);
    if (m_verticalScrollBar) m_verticalScrollBar->ApplyAttributeList(value);
  } else if (SameName(name, L"hscrollbarstyle")) {
    EnableScrollBars(m_verticalScrollBar != nullptr, true);
    if (m_horizontalScrollBar) m_horizontalScrollBar->ApplyAttributeList(value);
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}

}  // namespace UiToolkit
