// The document host's UI questions: the event handler answers when one is
// set, the control's defaults otherwise. Outputs are always written: null
// unless the handler writes them.
#include "uitoolkit/activex/web_browser_ui.h"

namespace UiToolkit {

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD id, POINT* pt, IUnknown* commandTarget,
                                            IDispatch* object) {
  return m_handler ? m_handler->ShowContextMenu(id, pt, commandTarget, object) : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info) {
  return m_handler ? m_handler->GetHostInfo(info) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                                   IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                                   IOleInPlaceUIWindow* document) {
  return m_handler ? m_handler->ShowUI(id, activeObject, commandTarget, frame, document) : S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI() { return m_handler ? m_handler->HideUI() : S_OK; }
STDMETHODIMP CWebBrowserUI::UpdateUI() { return m_handler ? m_handler->UpdateUI() : S_OK; }

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL enable) {
  return m_handler ? m_handler->EnableModeless(enable) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL activate) {
  return m_handler ? m_handler->OnDocWindowActivate(activate) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL activate) {
  return m_handler ? m_handler->OnFrameWindowActivate(activate) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                         BOOL frameWindow) {
  return m_handler ? m_handler->ResizeBorder(border, window, frameWindow) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) {
  return m_handler ? m_handler->TranslateAccelerator(msg, group, command) : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
  if (!key) return E_POINTER;
  *key = nullptr;
  return m_handler ? m_handler->GetOptionKeyPath(key, reserved) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* dropTarget, IDropTarget** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return m_handler ? m_handler->GetDropTarget(dropTarget, out) : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return m_handler ? m_handler->GetExternal(out) : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut) {
  if (!urlOut) return E_POINTER;
  *urlOut = nullptr;
  return m_handler ? m_handler->TranslateUrl(translate, urlIn, urlOut) : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* object, IDataObject** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return m_handler ? m_handler->FilterDataObject(object, out) : E_NOTIMPL;
}

}  // namespace UiToolkit
