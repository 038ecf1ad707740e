#pragma once
// Notification records, the receiver/filter interfaces the window manager
// calls, and the toolkit's notification names.
#include <windows.h>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

class CControlUI;

struct TUiNotify {
  CUiString sType;
  CUiString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class INotifyUI {
 public:
  // Leaves the receivers of every window manager.
  virtual ~INotifyUI();
  virtual void Notify(TUiNotify& msg) = 0;
};

class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() {}
  virtual LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

class ITranslateAccelerator {
 public:
  virtual ~ITranslateAccelerator() {}
  // 0 means the message was consumed.
  virtual LRESULT TranslateKeyMessage(MSG* msg) = 0;
};

// Private messages of the manager's window.
enum {
  UIMSG_DELETE_LATER = WM_APP + 1,
  // lParam: a heap TUiNotify handed over from another thread.
  UIMSG_QUEUE_NOTIFY = WM_APP + 2,
};

#define UI_NOTIFY_WINDOWINIT L"windowinit"
#define UI_NOTIFY_SETFOCUS L"setfocus"
#define UI_NOTIFY_KILLFOCUS L"killfocus"
#define UI_NOTIFY_TIMER L"timer"
#define UI_NOTIFY_MENU L"menu"
#define UI_NOTIFY_CLICK L"click"
#define UI_NOTIFY_SELECTCHANGED L"selectchanged"
#define UI_NOTIFY_ITEMSELECT L"itemselect"
#define UI_NOTIFY_ITEMCLICK L"itemclick"
#define UI_NOTIFY_ITEMACTIVATE L"itemactivate"
#define UI_NOTIFY_LINK L"link"
#define UI_NOTIFY_HEADERCLICK L"headerclick"
#define UI_NOTIFY_TABSELECT L"tabselect"
#define UI_NOTIFY_RETURN L"return"
#define UI_NOTIFY_TEXTCHANGED L"textchanged"
#define UI_NOTIFY_SCROLL L"scroll"
#define UI_NOTIFY_VALUECHANGED L"valuechanged"
#define UI_NOTIFY_DROPDOWN L"dropdown"
#define UI_NOTIFY_ITEMDBCLICK L"itemdbclick"
#define UI_NOTIFY_SHOWACTIVEX L"showactivex"

}  // namespace UiToolkit
