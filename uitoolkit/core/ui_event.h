#pragma once
// Control events: built by the window manager from window messages and
// handed to controls through HandleEvent.
#include <windows.h>

namespace UiToolkit {

class CControlUI;

enum TUiEventType {
  UIEVENT_KEYDOWN = 3,
  UIEVENT_KEYUP = 4,
  UIEVENT_CHAR = 5,
  UIEVENT_SYSKEY = 6,
  UIEVENT_MOUSEMOVE = 9,
  UIEVENT_MOUSELEAVE = 10,
  UIEVENT_MOUSEENTER = 11,
  UIEVENT_MOUSEHOVER = 12,
  UIEVENT_BUTTONDOWN = 13,
  UIEVENT_BUTTONUP = 14,
  UIEVENT_RBUTTONDOWN = 15,
  UIEVENT_DBLCLICK = 16,
  UIEVENT_CONTEXTMENU = 17,
  UIEVENT_SCROLLWHEEL = 18,
  UIEVENT_KILLFOCUS = 20,
  UIEVENT_SETFOCUS = 21,
  UIEVENT_WINDOWSIZE = 22,
  UIEVENT_SETCURSOR = 23,
  UIEVENT_TIMER = 24,
};

struct TUiEvent {
  int Type;
  CControlUI* pSender;
  DWORD dwTimestamp;
  POINT ptMouse;
  WCHAR chKey;
  WORD wKeyState;
  WPARAM wParam;
  LPARAM lParam;
};

// Capability flags of controls.
enum {
  UIFLAG_TABSTOP = 0x01,
  UIFLAG_SETCURSOR = 0x02,
  UIFLAG_LISTROW = 0x04,
};

// Search flags of the control tree.
enum {
  UIFIND_ALL = 0x00000000,
  UIFIND_VISIBLE = 0x00000001,
  UIFIND_ENABLED = 0x00000002,
  UIFIND_HITTEST = 0x00000004,
  UIFIND_TOP_FIRST = 0x00000008,
  UIFIND_ME_FIRST = 0x80000000,
};

// Visitor of the tree search: returns the control that ends the search.
typedef CControlUI*(CALLBACK* FindControlProc)(CControlUI* control, LPVOID data);

// The mouse events, from a move to the wheel.
inline bool IsMouseEvent(int type) {
  return type >= UIEVENT_MOUSEMOVE && type <= UIEVENT_SCROLLWHEEL;
}

}  // namespace UiToolkit
