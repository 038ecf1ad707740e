#pragma once
// The single-line text input of skinned windows. Without the focus it is
// drawn like a label; with the focus a native edit window sits exactly over
// its text area, every change typed there comes back as "textchanged", and
// Return is reported as "return".
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/label.h"

namespace UiToolkit {

class CEditWnd;

class CEditUI : public CLabelUI {
 public:
  // The native window's background colour when the system's is used.
  static const DWORD kNoNativeBkColor = 0xFFFFFFFF;

  CEditUI();
  // An open native window is unlinked and destroyed first, so it never
  // reports to a freed control.
  ~CEditUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // A Tab stop while keyboard-enabled (focus comes back to it after the
  // window is resized, and Tab moves between edits); wants the set-cursor
  // event while enabled, so the I-beam shows over it.
  UINT CapabilityFlags() const override;
  void SetText(const wchar_t* text) override;
  void SetBounds(RECT rc) override;
  void SetVisible(bool visible = true) override;
  void SetInheritedVisible(bool visible = true) override;
  void SetEnabled(bool enabled = true) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  SIZE MeasureSize(SIZE available) override;
  void PaintStateImage(HDC hdc) override;
  void PaintText(HDC hdc) override;

  UINT GetState() const { return m_state; }
  int GetMaxChar() const { return m_maxChar; }
  void SetMaxChar(int count);
  bool IsReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool on);
  bool IsPasswordMode() const { return m_password; }
  void SetPasswordMode(bool on);
  wchar_t GetPasswordChar() const { return m_passwordChar; }
  bool IsNumberOnly() const { return (m_extraStyle & ES_NUMBER) != 0; }
  void SetNumberOnly(bool on);
  DWORD GetNativeBkColor() const { return m_nativeBkColor; }
  void SetNativeBkColor(DWORD color) { m_nativeBkColor = color; }
  DWORD GetExtraWindowStyle() const { return m_extraStyle; }
  void SetNormalImage(const wchar_t* image);
  void SetHotImage(const wchar_t* image);
  void SetFocusedImage(const wchar_t* image);
  void SetDisabledImage(const wchar_t* image);

  // Where the native window sits, absolute.
  RECT GetEditRect() const;
  // The open native window, or none.
  HWND GetNativeWindow() const;

 private:
  friend class CEditWnd;
  bool OpenNativeWindow();
  void SelectAllInNativeWindow();

  CEditWnd* m_window;
  int m_maxChar;
  bool m_readOnly;
  bool m_password;
  wchar_t m_passwordChar;
  UINT m_state;
  CUiString m_normalImage;
  CUiString m_hotImage;
  CUiString m_focusedImage;
  CUiString m_disabledImage;
  DWORD m_nativeBkColor;
  DWORD m_extraStyle;
};

// The native window's rectangle for a control at `bounds`: inside the text
// padding, and when the font is lower than that, a band of the font's
// height centred in it.
RECT EditTextArea(const RECT& bounds, const RECT& padding, int fontHeight);

// The whole text of a window (empty for none).
CUiString WindowTextOf(HWND hwnd);

// What a password edit shows: `mask` once per character of `text`; a
// surrogate pair is one character.
CUiString MaskPasswordText(const wchar_t* text, wchar_t mask);

}  // namespace UiToolkit
