#pragma once
// The system web browser as a toolkit control (skin tag "WebBrowser"),
// hosted on CActiveXUI. It receives the browser's events, is the document's
// UI handler, keeps script errors from showing dialogs, routes keys typed
// inside the browser to it, and hands what an application may decide to a
// CWebBrowserEventHandler.
//
// Life cycle: created by the ActiveX host's rules; CreateControl connects
// the events, joins the manager's key translators and, with "autonavi" and
// a "homepage", navigates there. ReleaseControl undoes all of that and
// releases the browser (the next layout creates a new one); the destructor
// runs it. The control's COM reference count never deletes it: its life is
// the toolkit's.
#include <docobj.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>

#include "uitoolkit/activex/activex_ui.h"
#include "uitoolkit/activex/web_browser_event_handler.h"

namespace UiToolkit {

class CWebBrowserDownloadManager;

// Whether a browser event's arguments (in IDispatch's reverse order) are as
// many and of the types the event has: S_OK, DISP_E_BADPARAMCOUNT or
// DISP_E_TYPEMISMATCH. Events the control does not read pass.
HRESULT CheckBrowserEventArguments(DISPID id, const DISPPARAMS* params);

class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator {
 public:
  CWebBrowserUI();
  ~CWebBrowserUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  bool CreateControl() override;
  void ReleaseControl() override;
  // A download the browser would start: the handler's OnDownload (S_OK
  // without a handler).
  virtual HRESULT OnDownload(IMoniker* moniker, IBindCtx* context, DWORD bindVerb, LONG bindFlags,
                             BINDINFO* bindInfo, LPCOLESTR headers, LPCOLESTR redirect,
                             UINT codePage);

  // Navigate2 to `url`; nothing without a URL or without a browser.
  void Navigate(const wchar_t* url);
  void SetEventHandler(CWebBrowserEventHandler* handler) { m_handler = handler; }
  CWebBrowserEventHandler* GetEventHandler() const { return m_handler; }
  const CUiString& GetHomePage() const { return m_homePage; }
  void SetHomePage(const wchar_t* url) { m_homePage = url; }
  bool IsAutoNavigate() const { return m_autoNavigate; }
  void SetAutoNavigate(bool on) { m_autoNavigate = on; }
  // The browser, not AddRef'd; none before creation or after release.
  IWebBrowser2* GetWebBrowser2() const { return m_browser; }

  // ---- IUnknown (shared by every interface part) ----
  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // ---- IDocHostUIHandler ----
  STDMETHOD(ShowContextMenu)
  (DWORD id, POINT* pt, IUnknown* commandTarget, IDispatch* object) override;
  STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* info) override;
  STDMETHOD(ShowUI)
  (DWORD id, IOleInPlaceActiveObject* activeObject, IOleCommandTarget* commandTarget,
   IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override;
  STDMETHOD(HideUI)() override;
  STDMETHOD(UpdateUI)() override;
  STDMETHOD(EnableModeless)(BOOL enable) override;
  STDMETHOD(OnDocWindowActivate)(BOOL activate) override;
  STDMETHOD(OnFrameWindowActivate)(BOOL activate) override;
  STDMETHOD(ResizeBorder)(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  STDMETHOD(TranslateAccelerator)(LPMSG msg, const GUID* group, DWORD command) override;
  STDMETHOD(GetOptionKeyPath)(LPOLESTR* key, DWORD reserved) override;
  STDMETHOD(GetDropTarget)(IDropTarget* dropTarget, IDropTarget** out) override;
  STDMETHOD(GetExternal)(IDispatch** out) override;
  STDMETHOD(TranslateUrl)(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut) override;
  STDMETHOD(FilterDataObject)(IDataObject* object, IDataObject** out) override;

  // ---- IServiceProvider ----
  STDMETHOD(QueryService)(REFGUID service, REFIID iid, void** out) override;

  // ---- IOleCommandTarget ----
  STDMETHOD(QueryStatus)
  (const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
  STDMETHOD(Exec)
  (const GUID* group, DWORD command, DWORD options, VARIANT* in, VARIANT* out) override;

  // ---- IDispatch (the browser's events) ----
  STDMETHOD(GetTypeInfoCount)(UINT* count) override;
  STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** out) override;
  STDMETHOD(GetIDsOfNames)
  (REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHOD(Invoke)
  (DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
   EXCEPINFO* exception, UINT* argError) override;

  // ---- ITranslateAccelerator (the manager's key translators) ----
  LRESULT TranslateKeyMessage(MSG* msg) override;

 private:
  // Advises (on) or unadvises (off) the browser's DWebBrowserEvents2.
  HRESULT ConnectEvents(bool on);
  // Gives the browser's current document this control as UI handler.
  void InstallUiHandler();
  void LeaveKeyTranslators();

  IWebBrowser2* m_browser;
  LONG m_refs;
  DWORD m_eventCookie;
  CUiString m_homePage;
  bool m_autoNavigate;
  CWebBrowserEventHandler* m_handler;
  CWebBrowserDownloadManager* m_downloadManager;
  // The manager whose key translators hold this control.
  CWindowManagerUI* m_translatorManager;
};

}  // namespace UiToolkit
