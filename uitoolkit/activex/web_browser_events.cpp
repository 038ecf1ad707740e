// The browser's events (IDispatch) and the document's commands
// (IOleCommandTarget).
#include <exdispid.h>

#include "uitoolkit/activex/activex_guids.h"
#include "uitoolkit/activex/web_browser_ui.h"

namespace UiToolkit {

namespace {

// An integer argument may come as any of the 32-bit integer types.
const VARTYPE kAnyInt = 0xFFFF;

struct TEventShape {
  DISPID id;
  UINT count;
  // In the event's parameter order (IDispatch delivers them reversed).
  VARTYPE types[7];
};

const TEventShape kEventShapes[] = {
    {DISPID_BEFORENAVIGATE2,
     7,
     {VT_DISPATCH, VT_BYREF | VT_VARIANT, VT_BYREF | VT_VARIANT, VT_BYREF | VT_VARIANT,
      VT_BYREF | VT_VARIANT, VT_BYREF | VT_VARIANT, VT_BYREF | VT_BOOL}},
    {DISPID_NAVIGATEERROR,
     5,
     {VT_DISPATCH, VT_BYREF | VT_VARIANT, VT_BYREF | VT_VARIANT, VT_BYREF | VT_VARIANT,
      VT_BYREF | VT_BOOL}},
    {DISPID_NEWWINDOW3, 5, {VT_BYREF | VT_DISPATCH, VT_BYREF | VT_BOOL, kAnyInt, VT_BSTR, VT_BSTR}},
    {DISPID_COMMANDSTATECHANGE, 2, {kAnyInt, VT_BOOL}},
    {DISPID_NAVIGATECOMPLETE2, 2, {VT_DISPATCH, VT_BYREF | VT_VARIANT}},
};

bool TypeMatches(VARTYPE expected, VARTYPE actual) {
  if (expected != kAnyInt) return expected == actual;
  return actual == VT_I4 || actual == VT_UI4 || actual == VT_INT || actual == VT_UINT;
}

// Parameter `index` of the event (0 = first in its list).
VARIANT& Arg(DISPPARAMS* params, UINT index) { return params->rgvarg[params->cArgs - 1 - index]; }

}  // namespace

HRESULT CheckBrowserEventArguments(DISPID id, const DISPPARAMS* params) {
  for (const TEventShape& shape : kEventShapes) {
    if (shape.id != id) continue;
    if (!params || !params->rgvarg || params->cArgs < shape.count) return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < shape.count; ++i) {
      const VARIANT& v = params->rgvarg[params->cArgs - 1 - i];
      if (!TypeMatches(shape.types[i], v.vt)) return DISP_E_TYPEMISMATCH;
      // A by-reference argument without its reference cannot be handed on.
      if ((v.vt & VT_BYREF) && !v.byref) return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
  }
  return S_OK;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

void CWebBrowserUI::InstallUiHandler() {
  if (!m_browser) return;
  IDispatch* document = nullptr;
  if (FAILED(m_browser->get_Document(&document)) || !document) return;
  ICustomDoc* custom = nullptr;
  if (SUCCEEDED(document->QueryInterface(kIidCustomDoc, reinterpret_cast<void**>(&custom))) &&
      custom) {
    custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
    custom->Release();
  }
  document->Release();
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) {
  if (iid != IID_NULL) return E_INVALIDARG;
  switch (id) {
    case DISPID_BEFORENAVIGATE2:
    case DISPID_NAVIGATEERROR:
    case DISPID_NEWWINDOW3:
    case DISPID_COMMANDSTATECHANGE:
    case DISPID_NAVIGATECOMPLETE2:
      break;
    case DISPID_STATUSTEXTCHANGE:
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT checked = CheckBrowserEventArguments(id, params);
  if (FAILED(checked)) return checked;

  switch (id) {
    case DISPID_BEFORENAVIGATE2:
      if (m_handler)
        m_handler->OnBeforeNavigate(Arg(params, 0).pdispVal, Arg(params, 1).pvarVal,
                                    Arg(params, 2).pvarVal, Arg(params, 3).pvarVal,
                                    Arg(params, 4).pvarVal, Arg(params, 5).pvarVal,
                                    Arg(params, 6).pboolVal);
      break;
    case DISPID_NAVIGATEERROR:
      if (m_handler)
        m_handler->OnNavigateError(Arg(params, 0).pdispVal, Arg(params, 1).pvarVal,
                                   Arg(params, 2).pvarVal, Arg(params, 3).pvarVal,
                                   Arg(params, 4).pboolVal);
      break;
    case DISPID_NEWWINDOW3:
      if (m_handler)
        m_handler->OnNewWindow(Arg(params, 0).ppdispVal, Arg(params, 1).pboolVal,
                               static_cast<DWORD>(Arg(params, 2).lVal), Arg(params, 3).bstrVal,
                               Arg(params, 4).bstrVal);
      break;
    case DISPID_COMMANDSTATECHANGE:
      if (m_handler) m_handler->OnCommandStateChange(Arg(params, 0).lVal, Arg(params, 1).boolVal);
      break;
    case DISPID_NAVIGATECOMPLETE2:
      // Every new document gets this control as its UI handler again.
      InstallUiHandler();
      if (m_handler) m_handler->OnNavigateComplete(Arg(params, 0).pdispVal, Arg(params, 1).pvarVal);
      break;
  }
  return S_OK;
}

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) {
  return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* group, DWORD command, DWORD, VARIANT*, VARIANT* out) {
  if (!group || *group != kCgidDocHostCommandHandler) return OLECMDERR_E_UNKNOWNGROUP;
  if (command != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
  // Scripts go on running; no dialog, nothing reported.
  if (out) {
    out->vt = VT_BOOL;
    out->boolVal = VARIANT_TRUE;
  }
  return S_OK;
}

}  // namespace UiToolkit
