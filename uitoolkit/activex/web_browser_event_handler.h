#pragma once
// What an application decides about its embedded browser: navigation
// events, the document host's UI questions and downloads. Every operation
// has a default body; derive and replace what you need, then hand the
// object to CWebBrowserUI::SetEventHandler (the control does not own it).
//
// The navigation events get the addresses of the event's value fields, so
// a handler may change them (for example set *cancel to VARIANT_TRUE).
// Outputs of the document host's calls are null when the handler does not
// write them.
#include <docobj.h>
#include <mshtmhst.h>
#include <ole2.h>
#include <urlmon.h>
#include <windows.h>

namespace UiToolkit {

class CWebBrowserEventHandler {
 public:
  virtual ~CWebBrowserEventHandler() {}

  virtual void OnBeforeNavigate(IDispatch* disp, VARIANT*& url, VARIANT*& flags,
                                VARIANT*& targetFrameName, VARIANT*& postData, VARIANT*& headers,
                                VARIANT_BOOL*& cancel);
  virtual void OnNavigateError(IDispatch* disp, VARIANT*& url, VARIANT*& targetFrameName,
                               VARIANT*& statusCode, VARIANT_BOOL*& cancel);
  virtual void OnNavigateComplete(IDispatch* disp, VARIANT*& url);
  // Never called by the control; keeps the slots after it in place.
  virtual void Reserved3(void* first, void* second);
  virtual void OnNewWindow(IDispatch** newWindow, VARIANT_BOOL*& cancel, DWORD flags,
                           BSTR urlContext, BSTR url);
  virtual void OnCommandStateChange(long command, VARIANT_BOOL enable);

  virtual HRESULT ShowContextMenu(DWORD id, POINT* pt, IUnknown* commandTarget, IDispatch* object);
  virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info);
  virtual HRESULT ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                         IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                         IOleInPlaceUIWindow* document);
  virtual HRESULT HideUI();
  virtual HRESULT UpdateUI();
  virtual HRESULT EnableModeless(BOOL enable);
  virtual HRESULT OnDocWindowActivate(BOOL activate);
  virtual HRESULT OnFrameWindowActivate(BOOL activate);
  virtual HRESULT ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow);
  virtual HRESULT TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command);
  virtual HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD reserved);
  virtual HRESULT GetDropTarget(IDropTarget* dropTarget, IDropTarget** out);
  virtual HRESULT GetExternal(IDispatch** out);
  virtual HRESULT TranslateUrl(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut);
  virtual HRESULT FilterDataObject(IDataObject* object, IDataObject** out);
  virtual HRESULT OnDownload(IMoniker* moniker, IBindCtx* context, DWORD bindVerb, LONG bindFlags,
                             BINDINFO* bindInfo, LPCOLESTR headers, LPCOLESTR redirect,
                             UINT codePage);
};

}  // namespace UiToolkit
