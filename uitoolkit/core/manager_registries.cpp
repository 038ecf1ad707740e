// Registries, option groups, deferred deletion, colours and forgetting a
// control that is being deleted.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

bool CWindowManagerUI::AddNotifyReceiver(INotifyUI* r) { return m_receivers.Add(r); }
bool CWindowManagerUI::RemoveNotifyReceiver(INotifyUI* r) { return m_receivers.Remove(r); }
bool CWindowManagerUI::AddPreFilter(IMessageFilterUI* f) { return m_preFilters.Add(f); }
bool CWindowManagerUI::RemovePreFilter(IMessageFilterUI* f) { return m_preFilters.Remove(f); }
bool CWindowManagerUI::AddWindowMessageFilter(IMessageFilterUI* f) {
  return m_messageFilters.Add(f);
}
bool CWindowManagerUI::RemoveWindowMessageFilter(IMessageFilterUI* f) {
  return m_messageFilters.Remove(f);
}
bool CWindowManagerUI::AddPostPainter(CControlUI* c) { return m_postPainters.Add(c); }
bool CWindowManagerUI::RemovePostPainter(CControlUI* c) { return m_postPainters.Remove(c); }
bool CWindowManagerUI::AddKeyTranslator(ITranslateAccelerator* t) { return m_translators.Add(t); }
bool CWindowManagerUI::RemoveKeyTranslator(ITranslateAccelerator* t) {
  return m_translators.Remove(t);
}

bool CWindowManagerUI::JoinOptionGroup(const wchar_t* group, CControlUI* control) {
  CUiPtrArray* members = static_cast<CUiPtrArray*>(m_optionGroups.Lookup(group, true));
  if (members) {
    if (members->Find(control) >= 0) return false;
    return members->Add(control);
  }
  members = new CUiPtrArray;
  members->Add(control);
  if (!m_optionGroups.Add(group, members)) {
    delete members;
    return false;
  }
  return true;
}

CUiPtrArray* CWindowManagerUI::OptionGroup(const wchar_t* group) {
  return static_cast<CUiPtrArray*>(m_optionGroups.Lookup(group, true));
}

void CWindowManagerUI::LeaveOptionGroup(const wchar_t* group, CControlUI* control) {
  CUiPtrArray* members = static_cast<CUiPtrArray*>(m_optionGroups.Lookup(group, true));
  if (!members) return;
  members->Remove(control);
  if (members->IsEmpty()) {
    m_optionGroups.Erase(group);
    delete members;
  }
}

void CWindowManagerUI::ClearOptionGroups() {
  for (int i = 0; i < m_optionGroups.GetSize(); ++i)
    delete static_cast<CUiPtrArray*>(m_optionGroups.GetValueAt(i));
  m_optionGroups.Rehash(CUiStringMap::kDefaultBuckets);
}

CControlUI* CALLBACK CWindowManagerUI::FindVisitMarkRemoved(CControlUI* control, LPVOID data) {
  CWindowManagerUI* self = static_cast<CWindowManagerUI*>(data);
  control->MarkRemoved();
  // Keys and hover go elsewhere from now on; the memory stays until the
  // deletion, so an event running in it may still return there. A capture
  // stays until its button comes up, which also lets the mouse go.
  if (self->m_keyControl == control) self->m_keyControl = nullptr;
  if (self->m_hover == control) self->m_hover = nullptr;
  if (self->m_focus == control) self->m_focus = nullptr;
  return nullptr;
}

void CWindowManagerUI::DeleteLater(CControlUI* control) {
  if (!control) return;
  control->AttachManager(this, nullptr, false);
  control->Search(&FindVisitMarkRemoved, this, UIFIND_ALL);
  m_deleteLater.Add(control);
  if (m_hwnd) ::PostMessageW(m_hwnd, UIMSG_DELETE_LATER, 0, 0);
}

void CWindowManagerUI::LeaveDispatch() {
  // The deletion message that came while an event ran was passed over.
  if (--m_dispatchDepth == 0 && !m_deleteLater.IsEmpty() && m_hwnd)
    ::PostMessageW(m_hwnd, UIMSG_DELETE_LATER, 0, 0);
}

void CWindowManagerUI::DeletePendingControls() {
  // The list is swapped out first: a destructor may hand further controls
  // over, which then wait for the next round instead of changing the list
  // being walked.
  while (!m_deleteLater.IsEmpty()) {
    CUiPtrArray doomed(m_deleteLater);
    m_deleteLater.Empty();
    for (int i = 0; i < doomed.GetSize(); ++i) delete static_cast<CControlUI*>(doomed.GetAt(i));
  }
}

const CWindowManagerUI* CWindowManagerUI::TopManager() const {
  const CWindowManagerUI* top = this;
  while (top->m_resourceParent) top = top->m_resourceParent;
  return top;
}

DWORD CWindowManagerUI::DisabledTextColor() const { return TopManager()->m_colorDisabled; }
DWORD CWindowManagerUI::DefaultTextColor() const { return TopManager()->m_colorText; }
DWORD CWindowManagerUI::LinkColor() const { return TopManager()->m_colorLink; }
DWORD CWindowManagerUI::LinkHoverColor() const { return TopManager()->m_colorLinkHover; }
DWORD CWindowManagerUI::SelectedColor() const { return TopManager()->m_colorSelected; }

void CWindowManagerUI::SetResourceParent(CWindowManagerUI* parent) {
  for (CWindowManagerUI* m = parent; m; m = m->m_resourceParent)
    if (m == this) return;  // would close a cycle
  m_resourceParent = parent;
}

void CWindowManagerUI::ForgetControl(CControlUI* control) {
  if (!control) return;
  if (m_keyControl == control) m_keyControl = nullptr;
  if (m_hover == control) m_hover = nullptr;
  if (m_capture == control) m_capture = nullptr;
  if (m_focus == control) m_focus = nullptr;
  if (m_tipSilenced == control) m_tipSilenced = nullptr;
  StopTimers(control);
  ForgetName(control->GetName(), control);
  for (int i = 0; i < m_queuedNotifies.GetSize(); ++i) {
    TUiNotify* msg = static_cast<TUiNotify*>(m_queuedNotifies.GetAt(i));
    if (msg->pSender == control) msg->pSender = nullptr;
  }
  m_postPainters.Remove(control);
  m_deleteLater.Remove(control);
  if (m_root == control) m_root = nullptr;
}

}  // namespace UiToolkit
