#pragma once
// The in-place frame a hosted object is given by GetWindowContext. It asks
// the site for its control, so a frame the object keeps after the control
// is gone answers E_UNEXPECTED instead of reaching a freed control.
#include <ole2.h>
#include <windows.h>

#include "uitoolkit/activex/activex_objects.h"

namespace UiToolkit {

class CActiveXCtrl;

class CActiveXFrameWnd final : public IOleInPlaceFrame, private CCountedComObject {
 public:
  explicit CActiveXFrameWnd(CActiveXCtrl* site);

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  STDMETHOD(GetWindow)(HWND* out) override;
  STDMETHOD(ContextSensitiveHelp)(BOOL enter) override;

  STDMETHOD(GetBorder)(LPRECT border) override;
  STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS widths) override;
  STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS widths) override;
  STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

  STDMETHOD(InsertMenus)(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
  STDMETHOD(SetMenu)(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
  STDMETHOD(RemoveMenus)(HMENU shared) override;
  STDMETHOD(SetStatusText)(LPCOLESTR text) override;
  STDMETHOD(EnableModeless)(BOOL enable) override;
  STDMETHOD(TranslateAccelerator)(LPMSG msg, WORD id) override;

 private:
  ~CActiveXFrameWnd();

  LONG m_refs;
  CActiveXCtrl* m_site;
  IOleInPlaceActiveObject* m_activeObject;
};

}  // namespace UiToolkit
