#pragma once
// The base of every skinned top-level window: a borderless window whose
// whole area the toolkit draws from a skin document. It builds the skin on
// WM_CREATE, makes the skin's caption band and size box act as title bar
// and sizing borders, clips the window to the skin's round corners, closes
// on Escape and answers the generic close, minimise, maximise and restore
// buttons. A skin that cannot be loaded ends the program (exit code 1)
// after a message box, unless the window says otherwise (OnSkinLoadFailed).
#include <windows.h>

#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/notify_pump.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/core/window_wnd.h"
#include "uitoolkit/skin/dialog_builder_callback.h"

namespace UiToolkit {

// Where a skin document comes from.
enum TUiSkinSourceKind {
  UISKIN_FILE = 1,         // skin zip when one is open, else the resource folder
  UISKIN_ZIP_FILE = 2,     // a zip file in the resource folder
  UISKIN_RESOURCE = 3,     // resource of type "xml", decimal id in SkinFile
  UISKIN_ZIP_RESOURCE = 4  // a zip held in a "ZIPRES" resource
};

// The caption band's hit test: controls of these classes (compared ignoring
// case) keep their clicks; everything else in the band drags the window.
bool IsCaptionClickThroughClass(const wchar_t* class_name);

// The non-client hit test of a skinned window, in client coordinates.
// `control_class` is the class of the control under the point, or none.
LRESULT SkinHitTest(POINT pt, const RECT& client, const RECT& sizebox, const RECT& caption,
                    bool maximized, const wchar_t* control_class);

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  WindowImplBase();
  ~WindowImplBase() override;

  CWindowManagerUI& Manager() { return m_manager; }

  // INotifyUI, IMessageFilterUI, IDialogBuilderCallback.
  void Notify(TUiNotify& msg) override;
  LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  CControlUI* CreateCustomControl(const wchar_t* tag) override;

  UI_DECLARE_MESSAGE_MAP()

 protected:
  const wchar_t* BaseClassName() const override;
  UINT ClassStyle() const override;
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone(HWND hwnd) override;

  virtual void OnSkinReady();
  virtual void OnClickNotify(TUiNotify& msg);
  virtual const wchar_t* SkinFolder() const = 0;
  virtual const wchar_t* SkinFile() const = 0;
  virtual bool OnDialogKey(WPARAM key);
  virtual int SkinSourceKind() const;
  virtual const wchar_t* SkinZipName() const;
  virtual const wchar_t* SkinResourceName() const;

  virtual LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcActivate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnChar(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKeyDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKillFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSetFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual DWORD WindowStyle() const;
  // Called when no skin could be built: by default a message box and the
  // end of the process (exit code 1). A window that may stay empty instead
  // overrides it and returns.
  virtual void OnSkinLoadFailed();

  // The skin-failure path (OnSkinLoadFailed) for a skin that lacks a
  // control its window needs.
  void FailSkin();

  CWindowManagerUI m_manager;

 private:
  // Opens the skin zip a kind-2 or kind-4 window reads from; false when it
  // cannot be had.
  bool OpenSkinZip(int kind);
};

}  // namespace UiToolkit
