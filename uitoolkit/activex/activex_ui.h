#pragma once
// A control that creates a COM ActiveX object and hosts it in a skinned
// window: windowless (drawn into the window by the toolkit, with the
// window's messages routed to it through the manager's message filters) or
// windowed (inside a child window of its own that follows the control's
// bounds and visibility). Skin tag "ActiveX".
#include <ole2.h>
#include <windows.h>

#include "uitoolkit/core/control.h"
#include "uitoolkit/core/notify.h"

namespace UiToolkit {

class CActiveXCtrl;

// A CLSID from a skin's "clsid" text: a braced GUID string, else a ProgID.
// At most 99 characters are read. GUID_NULL when the text names nothing.
CLSID ParseClsidText(const wchar_t* text);

// A size in pixels as HIMETRIC units at the given dots per inch.
SIZEL PixelsToHimetric(SIZE pixels, int dpiX, int dpiY);

class CActiveXUI : public CControlUI, public IMessageFilterUI {
 public:
  CActiveXUI();
  ~CActiveXUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // The first layout creates an object whose creation was delayed; then
  // the object's extent, rectangles and window follow the bounds.
  void SetBounds(RECT rc) override;
  void SetVisible(bool visible = true) override;
  void SetInheritedVisible(bool visible = true) override;
  // Draws a windowless object into `hdc`; nothing of the base control.
  void Paint(HDC hdc, const RECT& dirty) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // Routes the skinned window's messages to a windowless object.
  LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // Closes and releases the hosted object and the site, and leaves the
  // manager's message filters. Safe to call at any time, and again.
  virtual void ReleaseControl();
  // Releases any earlier object, then creates the object of the CLSID
  // (through the named module's class factory when one is set) and
  // activates it in place. False when no object could be made or
  // activated. Runs once per CLSID: the created flag stays set on failure.
  virtual bool CreateControl();

  const CLSID& GetClsid() const { return m_clsid; }
  // GUID_NULL changes nothing; another CLSID is kept, and without delayed
  // creation the object is created at once.
  void SetClsid(const CLSID& clsid);
  const CUiString& GetModuleName() const { return m_moduleName; }
  void SetModuleName(const wchar_t* module) { m_moduleName = module; }
  bool IsDelayCreate() const { return m_delayCreate; }
  void SetDelayCreate(bool delay);
  bool IsCreated() const { return m_created; }
  // QueryInterface on the hosted object; E_FAIL without one.
  HRESULT GetControl(REFIID iid, void** out);
  // The skinned window for a windowless object, the child window for a
  // windowed one; none before activation.
  HWND GetHostWindow() const { return m_hostWindow; }

 protected:
  friend class CActiveXCtrl;
  friend class CActiveXWnd;
  friend class CActiveXFrameWnd;

  // The window of the control's manager; none without one.
  HWND SkinnedWindow() const;
  // The bounds an in-place object is given: relative to the child window
  // (moved to 0,0) when windowed.
  RECT InPlaceRect() const;
  // Shows or hides a windowed object's child window as the control is.
  void SyncChildVisibility();
  void JoinMessageFilters();
  void LeaveMessageFilters();

  CLSID m_clsid;
  CUiString m_moduleName;
  bool m_created;
  bool m_delayCreate;
  IOleObject* m_object;
  CActiveXCtrl* m_site;
  HWND m_hostWindow;
  // The manager whose message filters hold this control, so it leaves the
  // very list it joined.
  CWindowManagerUI* m_filterManager;
};

}  // namespace UiToolkit
