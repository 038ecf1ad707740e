#include "uitoolkit/controls/text_host.h"

#include <imm.h>
#include <wchar.h>

#include "uitoolkit/controls/rich_edit.h"
#include "uitoolkit/controls/rich_edit_rules.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

// Not in mingw's uuid library. The engine's own library exports them too
// and those are preferred when present (they are what that engine answers).
EXTERN_C const IID IID_ITextServices = {
    0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
EXTERN_C const IID IID_ITextHost = {
    0x13e670f4, 0x1a5a, 0x11cf, {0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1}};

namespace UiToolkit {

namespace {

const wchar_t kDefaultLibrary[] = L"msftedit.dll";
wchar_t g_library[MAX_PATH] = L"msftedit.dll";

// Keeps the host and its engine alive while the engine runs a call.
class EngineGrip {
 public:
  EngineGrip(CTxtWinHost* host, ITextServices* engine) : m_host(host), m_engine(engine) {
    m_host->AddRef();
    m_engine->AddRef();
  }
  ~EngineGrip() {
    m_engine->Release();
    m_host->Release();
  }

 private:
  EngineGrip(const EngineGrip&) = delete;
  EngineGrip& operator=(const EngineGrip&) = delete;
  CTxtWinHost* m_host;
  ITextServices* m_engine;
};

// Closes the engine's measuring state when a measurement ends.
class MeasuringFlag {
 public:
  explicit MeasuringFlag(bool* flag) : m_flag(flag) { *m_flag = true; }
  ~MeasuringFlag() { *m_flag = false; }

 private:
  bool* m_flag;
};

}  // namespace

void CTxtWinHost::SetTextServicesLibrary(const wchar_t* library) {
  const wchar_t* name = (library && library[0]) ? library : kDefaultLibrary;
  wcsncpy(g_library, name, MAX_PATH - 1);
  g_library[MAX_PATH - 1] = 0;
}

CTxtWinHost::CTxtWinHost(CRichEditUI* owner, DWORD style)
    : m_refs(1),
      m_owner(owner),
      m_services(nullptr),
      m_engineTextHostIid(nullptr),
      m_style(style),
      m_maxLength(owner->GetMaxLength()),
      m_acceleratorPos(-1),
      m_passwordChar(0),
      m_wordWrap(WrapsWords(style)),
      m_richText(owner->IsRich()),
      m_inPlaceActive(false),
      m_transparent(false),
      m_timerRunning(false),
      m_captured(false),
      m_caretCreated(false),
      m_measuring(false),
      m_ownDC(nullptr) {
  SetRectEmpty(&m_clientRect);
  m_extent.cx = m_extent.cy = 0;
  ZeroMemory(&m_charFormat, sizeof(m_charFormat));
  MakeDefaultParaFormat(style, &m_paraFormat);
}

CTxtWinHost::~CTxtWinHost() {
  if (m_services) {
    m_services->OnTxInPlaceDeactivate();
    m_services->Release();
  }
  if (m_ownDC) ::DeleteDC(m_ownDC);
}

CTxtWinHost* CTxtWinHost::Create(CRichEditUI* owner, DWORD style, const wchar_t* text) {
  if (!owner) return nullptr;
  CTxtWinHost* host = new CTxtWinHost(owner, style);
  if (!host->Init(text)) {
    host->Detach();
    host->Release();
    return nullptr;
  }
  return host;
}

bool CTxtWinHost::Init(const wchar_t* text) {
  CWindowManagerUI* manager = Manager();
  TUiFontInfo* font = manager ? manager->FontAt(m_owner->GetFont()) : nullptr;
  LoadCharFormat(font ? font->hFont : nullptr);

  // The library stays loaded for the life of the process: an engine may
  // outlive the host that made it.
  HMODULE library = ::LoadLibraryW(g_library);
  if (!library) return false;
  PCreateTextServices create =
      reinterpret_cast<PCreateTextServices>(::GetProcAddress(library, "CreateTextServices"));
  if (!create) return false;
  const IID* servicesIid =
      reinterpret_cast<const IID*>(::GetProcAddress(library, "IID_ITextServices"));
  m_engineTextHostIid = reinterpret_cast<const IID*>(::GetProcAddress(library, "IID_ITextHost"));

  IUnknown* unknown = nullptr;
  if (FAILED(create(nullptr, this, &unknown)) || !unknown) return false;
  HRESULT hr = unknown->QueryInterface(servicesIid ? *servicesIid : IID_ITextServices,
                                       reinterpret_cast<void**>(&m_services));
  unknown->Release();
  if (FAILED(hr) || !m_services) {
    m_services = nullptr;
    return false;
  }
  if (text && text[0] && FAILED(m_services->TxSetText(text))) return false;
  return true;
}

// ---- IUnknown ----

STDMETHODIMP CTxtWinHost::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITextHost) ||
      (m_engineTextHostIid && IsEqualIID(riid, *m_engineTextHostIid))) {
    *object = static_cast<ITextHost*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CTxtWinHost::AddRef() { return static_cast<ULONG>(++m_refs); }

STDMETHODIMP_(ULONG) CTxtWinHost::Release() {
  LONG refs = --m_refs;
  if (refs == 0) delete this;
  return static_cast<ULONG>(refs);
}

// ---- where the host reaches the window ----

CWindowManagerUI* CTxtWinHost::Manager() const { return m_owner ? m_owner->GetManager() : nullptr; }

HWND CTxtWinHost::Window() const {
  CWindowManagerUI* manager = Manager();
  return manager ? manager->GetWindow() : nullptr;
}

HDC CTxtWinHost::OwnDC() {
  if (!m_ownDC) m_ownDC = ::CreateCompatibleDC(nullptr);
  return m_ownDC;
}

void CTxtWinHost::LoadCharFormat(HFONT font) {
  LOGFONTW logfont = {};
  if (!font || !::GetObjectW(font, sizeof(logfont), &logfont))
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logfont), &logfont);
  HDC dc = TxGetDC();
  int dpiY = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  MakeDefaultCharFormat(logfont, dpiY, m_owner ? m_owner->GetTextColor() : 0, &m_charFormat);
}

void CTxtWinHost::UpdateExtent() {
  HDC dc = TxGetDC();
  int dpiX = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
  int dpiY = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  m_extent = HimetricExtent(m_clientRect.right - m_clientRect.left,
                            m_clientRect.bottom - m_clientRect.top, dpiX, dpiY);
}

// ---- ITextHost ----

HDC CTxtWinHost::TxGetDC() {
  CWindowManagerUI* manager = Manager();
  HDC dc = manager ? manager->GetWindowDC() : nullptr;
  return dc ? dc : OwnDC();
}

// The window's DC belongs to the manager, the own DC to the host.
INT CTxtWinHost::TxReleaseDC(HDC) { return TRUE; }

BOOL CTxtWinHost::TxShowScrollBar(INT bar, BOOL show) {
  if (!m_owner) return FALSE;
  m_owner->ShowEngineScrollBar(bar, show != FALSE);
  return TRUE;
}

BOOL CTxtWinHost::TxEnableScrollBar(INT bars, INT arrows) {
  if (!m_owner) return FALSE;
  m_owner->EnableEngineScrollBar(bars, arrows);
  return TRUE;
}

BOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, BOOL) {
  if (!m_owner) return FALSE;
  m_owner->SetEngineScrollRange(bar, minPos, maxPos);
  return TRUE;
}

BOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, BOOL) {
  if (!m_owner) return FALSE;
  m_owner->SetEngineScrollPos(bar, pos);
  return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, BOOL) {
  HWND window = Window();
  if (!window || m_measuring) return;
  ::InvalidateRect(window, rect ? rect : &m_clientRect, FALSE);
}

void CTxtWinHost::TxViewChange(BOOL) {
  if (!m_owner || m_measuring) return;
  if (m_owner->OnTxViewChanged()) m_owner->Invalidate();
}

BOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height) {
  HWND window = Window();
  if (!window) return FALSE;
  m_caretCreated = ::CreateCaret(window, bitmap, width, height) != FALSE;
  return m_caretCreated;
}

BOOL CTxtWinHost::TxShowCaret(BOOL show) {
  HWND window = Window();
  if (!window) return FALSE;
  return show ? ::ShowCaret(window) : ::HideCaret(window);
}

BOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
  if (!Window()) return FALSE;
  return ::SetCaretPos(x, y);
}

BOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) {
  CWindowManagerUI* manager = Manager();
  if (!manager) return FALSE;
  m_timerRunning = manager->StartTimer(m_owner, id, timeout);
  return m_timerRunning;
}

void CTxtWinHost::TxKillTimer(UINT id) {
  CWindowManagerUI* manager = Manager();
  if (!manager) return;
  manager->StopTimer(m_owner, id);
  m_timerRunning = false;
}

// The control is painted whole after every view change (TxViewChange), so
// there is nothing to scroll on the window itself.
void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(BOOL capture) {
  CWindowManagerUI* manager = Manager();
  if (!manager) return;
  if (capture)
    manager->CaptureMouse();
  else
    manager->ReleaseMouseCapture();
  m_captured = capture != FALSE;
}

void CTxtWinHost::TxSetFocus() {
  if (m_owner) m_owner->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, BOOL) {
  if (m_owner) ::SetCursor(cursor);
}

BOOL CTxtWinHost::TxScreenToClient(LPPOINT pt) {
  HWND window = Window();
  return window && pt ? ::ScreenToClient(window, pt) : FALSE;
}

BOOL CTxtWinHost::TxClientToScreen(LPPOINT pt) {
  HWND window = Window();
  return window && pt ? ::ClientToScreen(window, pt) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }
HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect) {
  if (!rect) return E_INVALIDARG;
  *rect = m_clientRect;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect) {
  if (!rect) return E_INVALIDARG;
  SetRectEmpty(rect);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
  if (!format) return E_INVALIDARG;
  *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
  if (!format) return E_INVALIDARG;
  *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
  return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return ::GetSysColor(index); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  if (!style) return E_INVALIDARG;
  *style = m_transparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
  if (!length) return E_INVALIDARG;
  *length = static_cast<DWORD>(m_maxLength);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bits) {
  if (!bits) return E_INVALIDARG;
  *bits = ScrollBarBitsOf(m_style);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch) {
  if (!ch) return E_INVALIDARG;
  // The engine reads a wide character here whatever TCHAR is.
  *reinterpret_cast<WCHAR*>(ch) = m_passwordChar;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos) {
  if (!pos) return E_INVALIDARG;
  *pos = m_acceleratorPos;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent) {
  if (!extent) return E_INVALIDARG;
  *extent = m_extent;
  return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }
HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  if (!bits) return E_INVALIDARG;
  *bits = PropertyBitsFor(m_style, m_richText, m_wordWrap) & mask;
  return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
  if (!m_owner) return S_OK;
  // The engine's data may be missing: a resize request then changes nothing.
  if (code == EN_REQUESTRESIZE && data) {
    const RECT& asked = static_cast<REQRESIZE*>(data)->rc;
    RECT area = {m_clientRect.left, m_clientRect.top, m_clientRect.left + asked.right,
                 m_clientRect.top + asked.bottom};
    m_clientRect = area;
    UpdateExtent();
  }
  m_owner->OnTxNotify(code, data);
  return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }
void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
  if (!width) return E_INVALIDARG;
  *width = 0;
  return S_OK;
}

// ---- calls into the engine ----

HRESULT CTxtWinHost::Send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  ITextServices* engine = m_services;
  if (!engine) return S_FALSE;
  LRESULT ignored = 0;
  EngineGrip grip(this, engine);
  return engine->TxSendMessage(msg, wParam, lParam, result ? result : &ignored);
}

HRESULT CTxtWinHost::Draw(HDC hdc, const RECT& area, const RECT& update) {
  ITextServices* engine = m_services;
  if (!engine) return E_FAIL;
  RECTL bounds = {area.left, area.top, area.right, area.bottom};
  RECT dirty = update;
  EngineGrip grip(this, engine);
  return engine->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hdc, nullptr, &bounds, nullptr,
                        &dirty, nullptr, 0, TXTVIEW_ACTIVE);
}

HRESULT CTxtWinHost::SetCursorAt(POINT pt) {
  ITextServices* engine = m_services;
  if (!engine) return E_FAIL;
  EngineGrip grip(this, engine);
  return engine->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, TxGetDC(), nullptr,
                               m_inPlaceActive ? nullptr : &m_clientRect, pt.x, pt.y);
}

bool CTxtWinHost::NaturalHeight(int width, int height, LONG* natural) {
  ITextServices* engine = m_services;
  if (!engine || !natural) return false;
  EngineGrip grip(this, engine);
  MeasuringFlag measuring(&m_measuring);
  HDC dc = TxGetDC();
  int dpiX = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
  int dpiY = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  SIZEL extent = HimetricExtent(width, height, dpiX, dpiY);
  LONG w = width, h = height;
  HRESULT hr = engine->TxGetNaturalSize(DVASPECT_CONTENT, dc, nullptr, nullptr, TXTNS_FITTOCONTENT,
                                        &extent, &w, &h);
  // Some engines keep the layout they made for the measurement (at the
  // origin, at the width asked): the text area is given back at once, or
  // the caret and mouse clicks would land in the wrong place until the
  // next paint.
  if (m_inPlaceActive) engine->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE, TXTBIT_CLIENTRECTCHANGE);
  if (FAILED(hr)) return false;
  *natural = h;
  return true;
}

HRESULT CTxtWinHost::ActivateInPlace() {
  ITextServices* engine = m_services;
  if (!engine) return E_FAIL;
  EngineGrip grip(this, engine);
  HRESULT hr = engine->OnTxInPlaceActivate(&m_clientRect);
  m_inPlaceActive = SUCCEEDED(hr);
  return hr;
}

void CTxtWinHost::Announce(DWORD mask, DWORD bits) {
  ITextServices* engine = m_services;
  if (!engine) return;
  EngineGrip grip(this, engine);
  engine->OnTxPropertyBitsChange(mask, bits);
}

// ---- settings ----

void CTxtWinHost::SetClientRect(const RECT& rect) {
  if (EqualRect(&rect, &m_clientRect)) return;
  m_clientRect = rect;
  UpdateExtent();
  Announce(TXTBIT_CLIENTRECTCHANGE, TXTBIT_CLIENTRECTCHANGE);
}

void CTxtWinHost::SetTransparent(bool on) {
  m_transparent = on;
  Announce(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetRichText(bool on) {
  m_richText = on;
  Announce(TXTBIT_RICHTEXT, on ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetReadOnly(bool on) {
  if (on)
    m_style |= ES_READONLY;
  else
    m_style &= ~static_cast<DWORD>(ES_READONLY);
  Announce(TXTBIT_READONLY, on ? TXTBIT_READONLY : 0);
}

void CTxtWinHost::SetFont(HFONT font) {
  LoadCharFormat(font);
  Announce(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetTextColor(DWORD argb) {
  m_charFormat.crTextColor = CUiRender::ToColorRef(argb);
  Announce(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::Detach() {
  CRichEditUI* owner = m_owner;
  if (owner) {
    CWindowManagerUI* manager = owner->GetManager();
    if (manager) {
      if (m_captured) manager->ReleaseMouseCapture();
      manager->StopTimers(owner);
      if (m_caretCreated && owner->IsFocused() && manager->GetWindow()) ::DestroyCaret();
    }
    m_captured = false;
    m_timerRunning = false;
    m_caretCreated = false;
    m_owner = nullptr;
  }
  // Whatever the engine asks from here on reaches no control.
  ITextServices* engine = m_services;
  m_services = nullptr;
  if (engine) {
    engine->OnTxInPlaceDeactivate();
    engine->Release();
  }
  m_inPlaceActive = false;
}

}  // namespace UiToolkit
