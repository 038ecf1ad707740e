#pragma once
// One native window: class registration (own class or a superclass of a
// system class), creation with the object as the creation parameter,
// message routing to ProcessMessage, the modal loop and centring.
#include <windows.h>

namespace UiToolkit {

class CWindowWnd {
 public:
  CWindowWnd();
  virtual ~CWindowWnd();

  HWND GetHWND() const { return m_hwnd; }
  operator HWND() const { return m_hwnd; }

  HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD ex_style, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT);
  void PostClose();
  void CenterOnOwner();
  // Sets the big and small icons from the program's icon resource `id`.
  void SetAppIcons(UINT id);
  // Shows the window, gives it the keyboard (it becomes the foreground
  // window with the focus) and runs a modal loop until it is gone; returns
  // the wParam of the last posted WM_CLOSE (0 when it was closed otherwise).
  int RunModal();
  // How many modal loops of this thread are running (nested loops count
  // each): callers that would open a second modal window ask first.
  static int OpenModalCount();

  bool RegisterOwnClass();
  bool RegisterAsSuperclass();

 protected:
  virtual const wchar_t* WindowClassName() const = 0;
  virtual const wchar_t* BaseClassName() const;
  virtual UINT ClassStyle() const;
  virtual LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void OnWindowGone(HWND hwnd);

  static LRESULT CALLBACK ClassWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SuperclassWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND m_hwnd;
  WNDPROC m_savedProc;

 private:
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;
};

// Where a window is placed when centred over `centre` inside `work`:
// the middle of `centre`, pushed back inside the work area.
POINT CenteredOrigin(const RECT& window, const RECT& centre, const RECT& work);

}  // namespace UiToolkit
