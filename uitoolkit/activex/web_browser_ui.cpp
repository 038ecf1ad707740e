// The browser control's attributes, creation and release, navigation, COM
// identity, event connection, key translation and download service.
#include "uitoolkit/activex/web_browser_ui.h"

#include "foundation/log/log.h"
#include "uitoolkit/activex/activex_guids.h"
#include "uitoolkit/activex/web_browser_download_manager.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CWebBrowserUI::CWebBrowserUI()
    : m_browser(nullptr),
      m_refs(0),
      m_eventCookie(0),
      m_autoNavigate(false),
      m_handler(nullptr),
      m_downloadManager(nullptr),
      m_translatorManager(nullptr) {
  m_clsid = kClsidSystemWebBrowser;
}

// The base destructor would run only the host's release: this one runs the
// browser's first, so no event, key or download reaches a freed control.
CWebBrowserUI::~CWebBrowserUI() { CWebBrowserUI::ReleaseControl(); }

const wchar_t* CWebBrowserUI::ClassName() const { return L"WebBrowserUI"; }

LPVOID CWebBrowserUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"WebBrowser")) return this;
  return CActiveXUI::FindInterface(name);
}

void CWebBrowserUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (SameName(name, L"homepage"))
    SetHomePage(value);
  else if (SameName(name, L"autonavi"))
    SetAutoNavigate(ParseBoolValue(value));
  else
    CActiveXUI::ApplyAttribute(name, value);
}

bool CWebBrowserUI::CreateControl() {
  if (!CActiveXUI::CreateControl()) return false;
  if (m_manager && !m_translatorManager) {
    m_translatorManager = m_manager;
    m_translatorManager->AddKeyTranslator(this);
  }
  if (FAILED(GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser)))) {
    m_browser = nullptr;
    log_error("%s: the hosted object is no web browser", __FUNCTION__);
  }
  if (m_autoNavigate && !m_homePage.IsEmpty()) Navigate(m_homePage);
  HRESULT hr = ConnectEvents(true);
  if (FAILED(hr))
    log_trace("%s: browser events not connected (0x%08lx)", __FUNCTION__,
              static_cast<unsigned long>(hr));
  return true;
}

void CWebBrowserUI::LeaveKeyTranslators() {
  if (!m_translatorManager) return;
  m_translatorManager->RemoveKeyTranslator(this);
  m_translatorManager = nullptr;
}

void CWebBrowserUI::ReleaseControl() {
  m_created = false;
  LeaveKeyTranslators();
  if (m_eventCookie) ConnectEvents(false);
  m_eventCookie = 0;
  if (m_downloadManager) {
    m_downloadManager->DetachOwner();
    m_downloadManager->Release();
    m_downloadManager = nullptr;
  }
  if (m_browser) {
    IWebBrowser2* browser = m_browser;
    m_browser = nullptr;
    browser->Release();
  }
  CActiveXUI::ReleaseControl();
}

void CWebBrowserUI::Navigate(const wchar_t* url) {
  if (!url || !*url || !m_browser) return;
  VARIANT target;
  ::VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = ::SysAllocString(url);
  if (!target.bstrVal) return;
  HRESULT hr = m_browser->Navigate2(&target, nullptr, nullptr, nullptr, nullptr);
  if (FAILED(hr))
    log_trace("%s: Navigate2 %ls failed (0x%08lx)", __FUNCTION__, url,
              static_cast<unsigned long>(hr));
  ::VariantClear(&target);
}

HRESULT CWebBrowserUI::ConnectEvents(bool on) {
  if (!m_browser) return E_FAIL;
  IConnectionPointContainer* container = nullptr;
  HRESULT hr = m_browser->QueryInterface(IID_IConnectionPointContainer,
                                         reinterpret_cast<void**>(&container));
  if (FAILED(hr) || !container) return FAILED(hr) ? hr : E_FAIL;
  IConnectionPoint* point = nullptr;
  hr = container->FindConnectionPoint(kDiidWebBrowserEvents2, &point);
  container->Release();
  if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_FAIL;
  if (on) {
    DWORD cookie = 0;
    hr = point->Advise(static_cast<IDispatch*>(this), &cookie);
    if (SUCCEEDED(hr)) m_eventCookie = cookie;
  } else {
    hr = point->Unadvise(m_eventCookie);
    m_eventCookie = 0;
  }
  point->Release();
  return hr;
}

// ---- IUnknown ----

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  // One pointer for IUnknown whichever part is asked: COM identity.
  if (iid == IID_IUnknown || iid == IID_IDocHostUIHandler)
    *out = static_cast<IDocHostUIHandler*>(this);
  else if (iid == IID_IDispatch)
    *out = static_cast<IDispatch*>(this);
  else if (iid == IID_IServiceProvider)
    *out = static_cast<IServiceProvider*>(this);
  else if (iid == IID_IOleCommandTarget)
    *out = static_cast<IOleCommandTarget*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef() { return ::InterlockedIncrement(&m_refs); }
STDMETHODIMP_(ULONG) CWebBrowserUI::Release() { return ::InterlockedDecrement(&m_refs); }

// ---- key translation ----

LRESULT CWebBrowserUI::TranslateKeyMessage(MSG* msg) {
  if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return S_FALSE;
  if (!m_browser) return E_NOTIMPL;
  HWND host = GetHostWindow();
  if (!host) return S_FALSE;
  for (HWND w = ::GetFocus(); w; w = ::GetAncestor(w, GA_PARENT)) {
    if (w != host) continue;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(m_browser->QueryInterface(IID_IOleInPlaceActiveObject,
                                         reinterpret_cast<void**>(&active))) ||
        !active)
      return S_FALSE;
    HRESULT hr = active->TranslateAccelerator(msg);
    active->Release();
    return hr;
  }
  return S_FALSE;
}

// ---- downloads ----

HRESULT CWebBrowserUI::OnDownload(IMoniker* moniker, IBindCtx* context, DWORD bindVerb,
                                  LONG bindFlags, BINDINFO* bindInfo, LPCOLESTR headers,
                                  LPCOLESTR redirect, UINT codePage) {
  if (!m_handler) return S_OK;
  return m_handler->OnDownload(moniker, context, bindVerb, bindFlags, bindInfo, headers, redirect,
                               codePage);
}

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID service, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (service != kIidDownloadManager || iid != kIidDownloadManager) return E_NOINTERFACE;
  if (!m_downloadManager) m_downloadManager = new CWebBrowserDownloadManager(this);
  return m_downloadManager->QueryInterface(iid, out);
}

}  // namespace UiToolkit
