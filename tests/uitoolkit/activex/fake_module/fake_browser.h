#pragma once
// A windowed fake object that is also a web browser: Navigate2 is recorded,
// get_Document hands out a fake document, DWebBrowserEvents2 is offered
// through a connection point. Every other browser method is E_NOTIMPL.
#include <exdisp.h>

#include "tests/uitoolkit/activex/fake_module/fake_connection_point.h"
#include "tests/uitoolkit/activex/fake_module/fake_document.h"
#include "tests/uitoolkit/activex/fake_module/fake_ole_object.h"

namespace fake_activex {

#define FAKE_NOTIMPL(name, args) \
  STDMETHOD(name) args override { return E_NOTIMPL; }

class FakeBrowser : public FakeOleObject, public IWebBrowser2, public IConnectionPointContainer {
 public:
  FakeBrowser();
  ~FakeBrowser() override;

  STDMETHOD(QueryInterface)(REFIID iid, void **out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // IDispatch
  STDMETHOD(GetTypeInfoCount)(UINT *count) override;
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo **out) override;
  FAKE_NOTIMPL(GetIDsOfNames, (REFIID, LPOLESTR *, UINT, LCID, DISPID *))
  FAKE_NOTIMPL(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *))

  // IWebBrowser2 (what the host uses)
  STDMETHOD(Navigate2)
  (VARIANT *url, VARIANT *flags, VARIANT *frame, VARIANT *postData, VARIANT *headers) override;
  STDMETHOD(get_Document)(IDispatch **out) override;
  // The rest.
  FAKE_NOTIMPL(GoBack, ())
  FAKE_NOTIMPL(GoForward, ())
  FAKE_NOTIMPL(GoHome, ())
  FAKE_NOTIMPL(GoSearch, ())
  FAKE_NOTIMPL(Navigate, (BSTR, VARIANT *, VARIANT *, VARIANT *, VARIANT *))
  FAKE_NOTIMPL(Refresh, ())
  FAKE_NOTIMPL(Refresh2, (VARIANT *))
  FAKE_NOTIMPL(Stop, ())
  FAKE_NOTIMPL(get_Application, (IDispatch **))
  FAKE_NOTIMPL(get_Parent, (IDispatch **))
  FAKE_NOTIMPL(get_Container, (IDispatch **))
  FAKE_NOTIMPL(get_TopLevelContainer, (VARIANT_BOOL *))
  FAKE_NOTIMPL(get_Type, (BSTR *))
  FAKE_NOTIMPL(get_Left, (LONG *))
  FAKE_NOTIMPL(put_Left, (LONG))
  FAKE_NOTIMPL(get_Top, (LONG *))
  FAKE_NOTIMPL(put_Top, (LONG))
  FAKE_NOTIMPL(get_Width, (LONG *))
  FAKE_NOTIMPL(put_Width, (LONG))
  FAKE_NOTIMPL(get_Height, (LONG *))
  FAKE_NOTIMPL(put_Height, (LONG))
  FAKE_NOTIMPL(get_LocationName, (BSTR *))
  FAKE_NOTIMPL(get_LocationURL, (BSTR *))
  FAKE_NOTIMPL(get_Busy, (VARIANT_BOOL *))
  FAKE_NOTIMPL(Quit, ())
  FAKE_NOTIMPL(ClientToWindow, (int *, int *))
  FAKE_NOTIMPL(PutProperty, (BSTR, VARIANT))
  FAKE_NOTIMPL(GetProperty, (BSTR, VARIANT *))
  FAKE_NOTIMPL(get_Name, (BSTR *))
  FAKE_NOTIMPL(get_HWND, (SHANDLE_PTR *))
  FAKE_NOTIMPL(get_FullName, (BSTR *))
  FAKE_NOTIMPL(get_Path, (BSTR *))
  FAKE_NOTIMPL(get_Visible, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_Visible, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_StatusBar, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_StatusBar, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_StatusText, (BSTR *))
  FAKE_NOTIMPL(put_StatusText, (BSTR))
  FAKE_NOTIMPL(get_ToolBar, (int *))
  FAKE_NOTIMPL(put_ToolBar, (int))
  FAKE_NOTIMPL(get_MenuBar, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_MenuBar, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_FullScreen, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_FullScreen, (VARIANT_BOOL))
  FAKE_NOTIMPL(QueryStatusWB, (OLECMDID, OLECMDF *))
  FAKE_NOTIMPL(ExecWB, (OLECMDID, OLECMDEXECOPT, VARIANT *, VARIANT *))
  FAKE_NOTIMPL(ShowBrowserBar, (VARIANT *, VARIANT *, VARIANT *))
  FAKE_NOTIMPL(get_ReadyState, (READYSTATE *))
  FAKE_NOTIMPL(get_Offline, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_Offline, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_Silent, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_Silent, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_RegisterAsBrowser, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_RegisterAsBrowser, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_RegisterAsDropTarget, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_RegisterAsDropTarget, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_TheaterMode, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_TheaterMode, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_AddressBar, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_AddressBar, (VARIANT_BOOL))
  FAKE_NOTIMPL(get_Resizable, (VARIANT_BOOL *))
  FAKE_NOTIMPL(put_Resizable, (VARIANT_BOOL))

  // IConnectionPointContainer
  STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints **out) override;
  STDMETHOD(FindConnectionPoint)(REFIID iid, IConnectionPoint **out) override;

 private:
  FakeDocument *document_;
  FakeConnectionPoint *events_;
};

#undef FAKE_NOTIMPL

}  // namespace fake_activex
