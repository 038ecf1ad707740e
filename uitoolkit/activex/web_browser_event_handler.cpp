#include "uitoolkit/activex/web_browser_event_handler.h"

namespace UiToolkit {

void CWebBrowserEventHandler::OnBeforeNavigate(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&,
                                               VARIANT*&, VARIANT*&, VARIANT_BOOL*&) {}
void CWebBrowserEventHandler::OnNavigateError(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&,
                                              VARIANT_BOOL*&) {}
void CWebBrowserEventHandler::OnNavigateComplete(IDispatch*, VARIANT*&) {}
void CWebBrowserEventHandler::Reserved3(void*, void*) {}
void CWebBrowserEventHandler::OnNewWindow(IDispatch**, VARIANT_BOOL*&, DWORD, BSTR, BSTR) {}
void CWebBrowserEventHandler::OnCommandStateChange(long, VARIANT_BOOL) {}

// The browser shows no context menu of its own.
HRESULT CWebBrowserEventHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  return S_OK;
}
HRESULT CWebBrowserEventHandler::GetHostInfo(DOCHOSTUIINFO*) { return S_OK; }
HRESULT CWebBrowserEventHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                        IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
  return S_FALSE;
}
HRESULT CWebBrowserEventHandler::HideUI() { return S_OK; }
HRESULT CWebBrowserEventHandler::UpdateUI() { return S_OK; }
HRESULT CWebBrowserEventHandler::EnableModeless(BOOL) { return S_OK; }
HRESULT CWebBrowserEventHandler::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT CWebBrowserEventHandler::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT CWebBrowserEventHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT CWebBrowserEventHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
HRESULT CWebBrowserEventHandler::GetOptionKeyPath(LPOLESTR*, DWORD) { return S_OK; }
HRESULT CWebBrowserEventHandler::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }
HRESULT CWebBrowserEventHandler::GetExternal(IDispatch**) { return E_NOTIMPL; }
HRESULT CWebBrowserEventHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR*) { return S_OK; }
HRESULT CWebBrowserEventHandler::FilterDataObject(IDataObject*, IDataObject**) { return S_OK; }
HRESULT CWebBrowserEventHandler::OnDownload(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR,
                                            LPCOLESTR, UINT) {
  return S_OK;
}

}  // namespace UiToolkit
