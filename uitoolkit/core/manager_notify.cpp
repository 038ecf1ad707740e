// Notification delivery: synchronous, queued, and handed over from other
// threads.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

void CWindowManagerUI::EmitNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam,
                                  LPARAM lParam, bool async) {
  TUiNotify msg;
  msg.sType = type;
  msg.pSender = sender;
  msg.wParam = wParam;
  msg.lParam = lParam;
  EmitNotifyRecord(msg, async);
}

INotifyUI::~INotifyUI() { CWindowManagerUI::ForgetReceiver(this); }

void CWindowManagerUI::EmitNotifyRecord(TUiNotify& msg, bool async) {
  // A removed control's notification still tells what happened, but names
  // no sender, as one queued by a control that was deleted since.
  if (msg.pSender && msg.pSender->IsRemoved()) msg.pSender = nullptr;
  msg.ptMouse = m_lastMouse;
  msg.dwTimestamp = ::GetTickCount();
  if (m_virtualWindowsUsed && msg.pSender) msg.sVirtualWnd = msg.pSender->GetVirtualWindow();
  if (async) {
    TUiNotify* copy = new TUiNotify;
    copy->sType = msg.sType;
    copy->pSender = msg.pSender;
    copy->wParam = msg.wParam;
    copy->lParam = msg.lParam;
    copy->ptMouse = msg.ptMouse;
    copy->dwTimestamp = msg.dwTimestamp;
    if (!m_queuedNotifies.Add(copy)) delete copy;
    return;
  }
  EnterDispatch();
  if (msg.pSender && msg.pSender->OnNotifyDelegates) msg.pSender->OnNotifyDelegates.Raise(&msg);
  DeliverToReceivers(msg);
  LeaveDispatch();
}

// By index, re-reading the count at each step: a receiver may add or remove
// receivers while it is called, and one added now is reached in this pass.
// When the slot no longer holds the receiver just called (it or an earlier
// one was removed), the slot already holds the next one.
void CWindowManagerUI::DeliverToReceivers(TUiNotify& msg) {
  for (int i = 0; i < m_receivers.GetSize();) {
    INotifyUI* receiver = static_cast<INotifyUI*>(m_receivers.GetAt(i));
    receiver->Notify(msg);
    if (m_receivers.GetAt(i) == receiver) ++i;
  }
}

void CWindowManagerUI::DrainQueuedNotifies() {
  while (m_hwnd && !m_queuedNotifies.IsEmpty()) {
    TUiNotify* msg = static_cast<TUiNotify*>(m_queuedNotifies.GetAt(0));
    m_queuedNotifies.RemoveAt(0);
    if (msg->pSender && msg->pSender->IsRemoved()) msg->pSender = nullptr;
    EnterDispatch();
    if (msg->pSender && msg->pSender->OnNotifyDelegates) msg->pSender->OnNotifyDelegates.Raise(msg);
    DeliverToReceivers(*msg);
    LeaveDispatch();
    delete msg;
  }
}

bool CWindowManagerUI::PostNotifyToWindow(HWND hwnd, const wchar_t* type, WPARAM wParam,
                                          LPARAM lParam) {
  if (!hwnd) return false;
  TUiNotify* record = new TUiNotify;
  record->sType = type;
  record->wParam = wParam;
  record->lParam = lParam;
  record->dwTimestamp = ::GetTickCount();
  if (!::PostMessageW(hwnd, UIMSG_QUEUE_NOTIFY, 0, reinterpret_cast<LPARAM>(record))) {
    delete record;
    return false;
  }
  return true;
}

}  // namespace UiToolkit
