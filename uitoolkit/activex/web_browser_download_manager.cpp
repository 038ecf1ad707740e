#include "uitoolkit/activex/web_browser_download_manager.h"

#include "uitoolkit/activex/activex_guids.h"
#include "uitoolkit/activex/web_browser_ui.h"

namespace UiToolkit {

CWebBrowserDownloadManager::CWebBrowserDownloadManager(CWebBrowserUI* owner)
    : m_refs(1), m_owner(owner) {}

STDMETHODIMP CWebBrowserDownloadManager::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == kIidDownloadManager)
    *out = static_cast<IDownloadManager*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserDownloadManager::AddRef() {
  return ::InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CWebBrowserDownloadManager::Release() {
  LONG refs = ::InterlockedDecrement(&m_refs);
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP CWebBrowserDownloadManager::Download(IMoniker* moniker, IBindCtx* context,
                                                  DWORD bindVerb, LONG bindFlags,
                                                  BINDINFO* bindInfo, LPCOLESTR headers,
                                                  LPCOLESTR redirect, UINT codePage) {
  if (!m_owner) return E_UNEXPECTED;
  return m_owner->OnDownload(moniker, context, bindVerb, bindFlags, bindInfo, headers, redirect,
                             codePage);
}

}  // namespace UiToolkit
