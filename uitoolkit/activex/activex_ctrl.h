#pragma once
// The OLE client site a CActiveXUI gives its hosted object: client site,
// windowless in-place site, control site, object-with-site and container in
// one reference-counted object. The site may outlive its control (the
// object holds references); once the control lets go, every call that
// needs it answers E_UNEXPECTED.
#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include "uitoolkit/activex/activex_objects.h"

namespace UiToolkit {

class CActiveXUI;
class CActiveXWnd;

class CActiveXCtrl final : public IOleClientSite,
                           public IOleInPlaceSiteWindowless,
                           public IOleControlSite,
                           public IObjectWithSite,
                           public IOleContainer,
                           private CCountedComObject {
 public:
  explicit CActiveXCtrl(CActiveXUI* owner);

  // ---- the host's side ----
  CActiveXUI* Owner() const { return m_owner; }
  // The control lets go: the owner is cleared, the windowed child goes,
  // and every reference the site holds on the object is released (so a
  // reference the object keeps on the site closes no cycle).
  void DetachOwner();
  // Ends the running lock taken at in-place activation (once).
  void UnlockRunning();
  // The view object: IViewObjectEx, else IViewObject2, else IViewObject.
  void TakeViewObject(IUnknown* object);
  IViewObject* ViewObject() const { return m_view; }
  IViewObjectEx* ViewObjectEx() const {
    return m_viewIsEx ? static_cast<IViewObjectEx*>(m_view) : nullptr;
  }
  IOleInPlaceObjectWindowless* WindowlessObject() const {
    return m_windowless && m_inPlaceWindowless
               ? static_cast<IOleInPlaceObjectWindowless*>(m_inPlace)
               : nullptr;
  }
  IOleInPlaceObject* InPlaceObject() const { return m_inPlace; }
  bool IsWindowless() const { return m_windowless; }
  bool IsInPlaceActive() const { return m_inPlaceActive; }
  bool IsUIActive() const { return m_uiActive; }
  bool HasCapture() const { return m_captured; }
  bool HasFocus() const { return m_focused; }
  void SetFocusFlag(bool on) { m_focused = on; }
  CActiveXWnd* ChildWindow() const { return m_window; }

  // ---- IUnknown ----
  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // ---- IOleClientSite ----
  STDMETHOD(SaveObject)() override;
  STDMETHOD(GetMoniker)(DWORD assign, DWORD which, IMoniker** out) override;
  STDMETHOD(GetContainer)(IOleContainer** out) override;
  STDMETHOD(ShowObject)() override;
  STDMETHOD(OnShowWindow)(BOOL show) override;
  STDMETHOD(RequestNewObjectLayout)() override;

  // ---- IOleWindow ----
  STDMETHOD(GetWindow)(HWND* out) override;
  STDMETHOD(ContextSensitiveHelp)(BOOL enter) override;

  // ---- IOleInPlaceSite ----
  STDMETHOD(CanInPlaceActivate)() override;
  STDMETHOD(OnInPlaceActivate)() override;
  STDMETHOD(OnUIActivate)() override;
  STDMETHOD(GetWindowContext)
  (IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
   LPOLEINPLACEFRAMEINFO info) override;
  STDMETHOD(Scroll)(SIZE extent) override;
  STDMETHOD(OnUIDeactivate)(BOOL undoable) override;
  STDMETHOD(OnInPlaceDeactivate)() override;
  STDMETHOD(DiscardUndoState)() override;
  STDMETHOD(DeactivateAndUndo)() override;
  STDMETHOD(OnPosRectChange)(LPCRECT pos) override;

  // ---- IOleInPlaceSiteEx ----
  STDMETHOD(OnInPlaceActivateEx)(BOOL* noRedraw, DWORD flags) override;
  STDMETHOD(OnInPlaceDeactivateEx)(BOOL noRedraw) override;
  STDMETHOD(RequestUIActivate)() override;

  // ---- IOleInPlaceSiteWindowless ----
  STDMETHOD(CanWindowlessActivate)() override;
  STDMETHOD(GetCapture)() override;
  STDMETHOD(SetCapture)(BOOL capture) override;
  STDMETHOD(GetFocus)() override;
  STDMETHOD(SetFocus)(BOOL focus) override;
  STDMETHOD(GetDC)(LPCRECT rect, DWORD flags, HDC* out) override;
  STDMETHOD(ReleaseDC)(HDC dc) override;
  STDMETHOD(InvalidateRect)(LPCRECT rect, BOOL erase) override;
  STDMETHOD(InvalidateRgn)(HRGN region, BOOL erase) override;
  STDMETHOD(ScrollRect)(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
  STDMETHOD(AdjustRect)(LPRECT rect) override;
  STDMETHOD(OnDefWindowMessage)(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  // ---- IOleControlSite ----
  STDMETHOD(OnControlInfoChanged)() override;
  STDMETHOD(LockInPlaceActive)(BOOL lock) override;
  STDMETHOD(GetExtendedControl)(IDispatch** out) override;
  STDMETHOD(TransformCoords)(POINTL* himetric, POINTF* container, DWORD flags) override;
  STDMETHOD(TranslateAccelerator)(MSG* msg, DWORD modifiers) override;
  STDMETHOD(OnFocus)(BOOL got) override;
  STDMETHOD(ShowPropertyFrame)() override;

  // ---- IObjectWithSite ----
  STDMETHOD(SetSite)(IUnknown* site) override;
  STDMETHOD(GetSite)(REFIID iid, void** out) override;

  // ---- IOleContainer (IParseDisplayName) ----
  STDMETHOD(ParseDisplayName)
  (IBindCtx* context, LPOLESTR name, ULONG* eaten, IMoniker** out) override;
  STDMETHOD(EnumObjects)(DWORD flags, IEnumUnknown** out) override;
  STDMETHOD(LockContainer)(BOOL lock) override;

 private:
  ~CActiveXCtrl();
  // Creates the windowed child (once) and makes it the owner's host
  // window.
  HRESULT CreateChildWindow();
  void DestroyChildWindow();
  void ReleaseInPlaceObject();

  LONG m_refs;
  CActiveXUI* m_owner;
  CActiveXWnd* m_window;
  IUnknown* m_objectSite;
  IViewObject* m_view;
  bool m_viewIsEx;
  IOleInPlaceObject* m_inPlace;
  bool m_inPlaceWindowless;
  // The object the running lock was taken on (the owner holds the
  // reference); none when no lock is held.
  IUnknown* m_runningLock;
  // One empty accelerator table per site, handed out by every
  // GetWindowContext and destroyed with the site.
  HACCEL m_accelerators;
  bool m_locked;
  bool m_focused;
  bool m_captured;
  bool m_uiActive;
  bool m_inPlaceActive;
  bool m_windowless;
};

}  // namespace UiToolkit
