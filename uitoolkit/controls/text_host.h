#pragma once
// The host of the windowless rich-edit engine (the text services object of
// msftedit.dll). It answers the engine's questions (text area, extent,
// default formats, style) and turns the engine's requests (repaint, caret,
// mouse capture, timers, scroll bars, notifications) into calls on the
// owning rich edit and its window.
//
// Reference counted: made with one reference, held by the control, and
// deleted when the last one goes. The engine may hold the host longer than
// the control lives, so the control detaches it when it dies; a host
// without an owner answers harmlessly and does nothing.
//
// The ITextHost methods are plain virtual functions, as the platform
// header declares them: the engine calls them with the member-function
// convention (thiscall on 32-bit x86), not __stdcall.
#include <windows.h>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

namespace UiToolkit {

class CRichEditUI;
class CWindowManagerUI;

class CTxtWinHost final : public ITextHost {
 public:
  // A host with its engine for `owner`, given the control's edit style and
  // its initial text; none when the engine cannot be made (no library, no
  // CreateTextServices, no ITextServices, or the text refused).
  static CTxtWinHost* Create(CRichEditUI* owner, DWORD style, const wchar_t* text);

  // Test seam: the library whose CreateTextServices makes the engine
  // (msftedit.dll unless a test names another). None restores the default.
  static void SetTextServicesLibrary(const wchar_t* library);

  // ---- IUnknown: IUnknown and ITextHost ----
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // ---- ITextHost ----
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC hdc) override;
  BOOL TxShowScrollBar(INT bar, BOOL show) override;
  BOOL TxEnableScrollBar(INT bars, INT arrows) override;
  BOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, BOOL redraw) override;
  BOOL TxSetScrollPos(INT bar, INT pos, BOOL redraw) override;
  void TxInvalidateRect(LPCRECT rect, BOOL mode) override;
  void TxViewChange(BOOL update) override;
  BOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  BOOL TxShowCaret(BOOL show) override;
  BOOL TxSetCaretPos(INT x, INT y) override;
  BOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update_region,
                        LPRECT update, UINT flags) override;
  void TxSetCapture(BOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, BOOL text) override;
  BOOL TxScreenToClient(LPPOINT pt) override;
  BOOL TxClientToScreen(LPPOINT pt) override;
  HRESULT TxActivate(LONG* old_state) override;
  HRESULT TxDeactivate(LONG new_state) override;
  HRESULT TxGetClientRect(LPRECT rect) override;
  HRESULT TxGetViewInset(LPRECT rect) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* bits) override;
  HRESULT TxGetPasswordChar(TCHAR* ch) override;
  HRESULT TxGetAcceleratorPos(LONG* pos) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD code, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC context) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

  // ---- calls into the engine (each keeps host and engine alive for its
  // length, so a control deleted from inside a notification cannot pull
  // either away from under the engine) ----
  // S_FALSE without an engine.
  HRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
  // Draws the text of `area` that lies in `update` into `hdc`.
  HRESULT Draw(HDC hdc, const RECT& area, const RECT& update);
  // The engine's cursor for a point of the text area.
  HRESULT SetCursorAt(POINT pt);
  // The height the text needs laid out `width` pixels wide; false when the
  // engine cannot say.
  bool NaturalHeight(int width, int height, LONG* natural);
  HRESULT ActivateInPlace();
  // Tells the engine that settings changed.
  void Announce(DWORD mask, DWORD bits);

  // ---- settings kept for the engine ----
  const RECT& GetClientRect() const { return m_clientRect; }
  // The text area (window coordinates) and its HIMETRIC extent; the engine
  // is told when it moved or changed size.
  void SetClientRect(const RECT& rect);
  bool IsTransparent() const { return m_transparent; }
  void SetTransparent(bool on);
  void SetRichText(bool on);
  void SetReadOnly(bool on);
  void SetFont(HFONT font);
  void SetTextColor(DWORD argb);
  bool IsMouseCaptured() const { return m_captured; }
  bool IsTimerRunning() const { return m_timerRunning; }
  bool IsInPlaceActive() const { return m_inPlaceActive; }
  const CHARFORMAT2W& GetCharFormat() const { return m_charFormat; }
  ITextServices* GetTextServices() const { return m_services; }
  CRichEditUI* GetOwner() const { return m_owner; }

  // The control is going away: its capture, caret and timers are given
  // back, the engine is deactivated and let go, and from then on the host
  // does nothing.
  void Detach();

 private:
  CTxtWinHost(CRichEditUI* owner, DWORD style);
  ~CTxtWinHost();
  CTxtWinHost(const CTxtWinHost&) = delete;
  CTxtWinHost& operator=(const CTxtWinHost&) = delete;

  bool Init(const wchar_t* text);
  CWindowManagerUI* Manager() const;
  HWND Window() const;
  // A device context for the engine while the owner has no window.
  HDC OwnDC();
  void LoadCharFormat(HFONT font);
  void UpdateExtent();

  LONG m_refs;
  CRichEditUI* m_owner;
  ITextServices* m_services;
  const IID* m_engineTextHostIid;
  DWORD m_style;
  LONG m_maxLength;
  LONG m_acceleratorPos;
  WCHAR m_passwordChar;
  RECT m_clientRect;
  SIZEL m_extent;
  CHARFORMAT2W m_charFormat;
  PARAFORMAT2 m_paraFormat;
  bool m_wordWrap;
  bool m_richText;
  bool m_inPlaceActive;
  bool m_transparent;
  bool m_timerRunning;
  bool m_captured;
  bool m_caretCreated;
  // Set while the engine measures: the layout it makes for that is put
  // back at once, and its repaint requests meanwhile show nothing new.
  bool m_measuring;
  HDC m_ownDC;
};

}  // namespace UiToolkit
