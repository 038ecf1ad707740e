#pragma once
// A multi-line text box drawn and edited by the system's windowless
// rich-edit engine inside a skinned window; it has no window of its own.
// Its host (CTxtWinHost) gives the engine the text area and the window;
// the window's keyboard and mouse messages reach the engine through the
// manager's message filters; the engine's scroll bars are the container's
// own skinned bars.
//
// Without the engine (no msftedit.dll) the control shows no text and
// ignores input.
#include <windows.h>

#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/rich_edit_rules.h"
#include "uitoolkit/core/notify.h"

namespace UiToolkit {

class CTxtWinHost;

class CRichEditUI : public CContainerUI, public IMessageFilterUI {
 public:
  CRichEditUI();
  // Leaves the message filters and detaches the host, which the engine
  // may still hold.
  ~CRichEditUI() override;

  const wchar_t* ClassName() const override;
  // "RichEdit" gives the control; "WantTab" answers it too while Tab
  // characters are wanted, so the manager leaves Tab to it.
  LPVOID FindInterface(const wchar_t* name) override;
  // A tab stop that wants the set-cursor event, while enabled.
  UINT CapabilityFlags() const override;
  // The engine's text (empty without an engine).
  CUiString GetText() const override;
  // Replaces the whole text as one selection replacement.
  void SetText(const wchar_t* text) override;
  void OnInitialize() override;
  void SetBounds(RECT rc) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // The engine draws the text of the part being painted.
  void PaintText(HDC hdc) override;

  // Scrolling goes to the engine, which moves the bars back through the
  // host.
  void SetScrollPos(SIZE pos) override;
  void ScrollLineUp() override;
  void ScrollLineDown() override;
  void ScrollPageUp() override;
  void ScrollPageDown() override;
  void ScrollToTop() override;
  void ScrollToBottom() override;
  void ScrollLineLeft() override;
  void ScrollLineRight() override;
  void ScrollPageLeft() override;
  void ScrollPageRight() override;
  void ScrollToLeftEnd() override;
  void ScrollToRightEnd() override;

  // ---- the engine ----
  // A message for the engine; S_FALSE without one. Return that is not
  // wanted as a line break is held back (its key-down and its character)
  // and reported as "return".
  virtual HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Whether the control repaints on every change of the engine's view.
  virtual bool OnTxViewChanged();
  // The engine's EN_ notifications, sent on to the window as WM_NOTIFY.
  virtual void OnTxNotify(DWORD code, void* data);

  // Keyboard and mouse messages of the window for the engine.
  LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // ---- settings ----
  DWORD GetEditStyle() const { return m_style; }
  bool IsWantTab() const { return m_wantTab; }
  void SetWantTab(bool on) { m_wantTab = on; }
  bool IsWantReturn() const { return m_wantReturn; }
  void SetWantReturn(bool on) { m_wantReturn = on; }
  bool IsWantCtrlReturn() const { return m_wantCtrlReturn; }
  void SetWantCtrlReturn(bool on) { m_wantCtrlReturn = on; }
  bool IsRich() const { return m_rich; }
  void SetRich(bool on);
  // Read-only refuses typing; SetText still replaces the text. The engine
  // is told at once.
  bool IsReadOnly() const { return (m_style & ES_READONLY) != 0; }
  void SetReadOnly(bool on);
  int GetFont() const { return m_font; }
  void SetFont(int index);
  DWORD GetTextColor() const { return m_textColor; }
  void SetTextColor(DWORD argb);
  LONG GetMaxLength() const { return m_maxLength; }

  // The rectangle the engine draws in: the bounds less the inset and the
  // visible bars.
  RECT GetTextArea() const { return ChildArea(); }
  // Whether the vertical bar was shown by the control itself because the
  // text is taller than the box.
  bool IsVerticalBarAutomatic() const { return m_autoVScroll; }
  CTxtWinHost* GetHost() const { return m_host; }

  // ---- the engine's scroll-bar requests, through the host ----
  void ShowEngineScrollBar(int bar, bool show);
  void EnableEngineScrollBar(int bar, int arrows);
  void SetEngineScrollRange(int bar, LONG minPos, LONG maxPos);
  void SetEngineScrollPos(int bar, int pos);

 private:
  CRichEditUI(const CRichEditUI&) = delete;
  CRichEditUI& operator=(const CRichEditUI&) = delete;

  // A bar the engine showed or hid: the text area changes with it.
  void AfterBarChange(bool changed);
  // The engine's natural height at `width` (text area width, or more).
  bool NaturalHeight(int width, LONG* height) const;
  void PlaceChildrenAndBars(const RECT& area);
  void SendScroll(UINT msg, WORD code);

  CTxtWinHost* m_host;
  CWindowManagerUI* m_filterManager;
  DWORD m_style;
  bool m_wantTab;
  bool m_wantReturn;
  bool m_wantCtrlReturn;
  bool m_rich;
  bool m_autoVScroll;
  DWORD m_textColor;
  int m_font;
  LONG m_maxLength;
  bool m_initialized;
  ReturnKeyGate m_returnGate;
  // Inside SetBounds the bars the engine shows or hides are taken into
  // account there, not by another layout.
  bool m_inLayout;
};

}  // namespace UiToolkit
