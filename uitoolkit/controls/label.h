#pragma once
// The text control and the base of every control with a caption: one of the
// window's fonts, alignment, padding, colours, optional markup text, and an
// optional effect mode drawn through GDI+ (gradient glyphs, outline, shadow).
#include "uitoolkit/core/control.h"

namespace UiToolkit {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  ~CLabelUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  CUiString GetText() const override;
  void SetText(const wchar_t* text) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  SIZE MeasureSize(SIZE available) override;
  void PaintText(HDC hdc) override;

  UINT GetTextStyle() const { return m_textStyle; }
  void SetTextStyle(UINT style);
  DWORD GetTextColor() const { return m_textColor; }
  void SetTextColor(DWORD color);
  DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
  void SetDisabledTextColor(DWORD color);
  int GetFont() const { return m_font; }
  void SetFont(int index);
  RECT GetTextPadding() const { return m_textPadding; }
  void SetTextPadding(RECT rc);
  bool IsShowHtml() const { return m_showHtml; }
  void SetShowHtml(bool on);

  bool IsEffectEnabled() const { return m_effect; }
  void SetEffectEnabled(bool on) { m_effect = on; }
  bool IsStrokeEnabled() const { return m_stroke; }
  void SetStrokeEnabled(bool on) { m_stroke = on; }
  bool IsShadowEnabled() const { return m_shadow; }
  void SetShadowEnabled(bool on) { m_shadow = on; }
  int GetRenderingHint() const { return m_renderingHint; }
  void SetRenderingHint(int hint) { m_renderingHint = (hint >= 0 && hint <= 5) ? hint : 0; }
  int GetShadowAlpha() const { return m_shadowAlpha; }
  void SetShadowAlpha(int a) { m_shadowAlpha = a; }
  int GetShadowAlpha1() const { return m_shadowAlpha1; }
  void SetShadowAlpha1(int a) { m_shadowAlpha1 = a; }
  int GetTextAlpha() const { return m_textAlpha; }
  void SetTextAlpha(int a) { m_textAlpha = a; }
  int GetTextAlpha1() const { return m_textAlpha1; }
  void SetTextAlpha1(int a) { m_textAlpha1 = a; }
  int GetStrokeAlpha() const { return m_strokeAlpha; }
  void SetStrokeAlpha(int a) { m_strokeAlpha = a; }
  int GetGradientAngle() const { return m_gradientAngle; }
  void SetGradientAngle(int x) { m_gradientAngle = x; }
  int GetGradientLength() const { return m_gradientLength; }
  void SetGradientLength(int length) { m_gradientLength = length; }
  DWORD GetTextColor1() const { return m_textColor1; }
  void SetTextColor1(DWORD c) { m_textColor1 = c; }
  DWORD GetTextShadowColorA() const { return m_shadowColorA; }
  void SetTextShadowColorA(DWORD c) { m_shadowColorA = c; }
  DWORD GetTextShadowColorB() const { return m_shadowColorB; }
  void SetTextShadowColorB(DWORD c) { m_shadowColorB = c; }
  DWORD GetStrokeColor() const { return m_strokeColor; }
  void SetStrokeColor(DWORD c) { m_strokeColor = c; }
  // Distance in pixels and angle in degrees (-180..180, 0 points right,
  // 90 up); other angles are ignored.
  void SetShadowOffset(int distance, int angle);
  float GetShadowOffsetX() const { return m_shadowDx; }
  float GetShadowOffsetY() const { return m_shadowDy; }

 protected:
  // Unset colours take the manager's defaults, once, at paint time.
  void ResolveDefaultColors();
  RECT TextRect() const;
  int FontHeight() const;
  void PaintEffectText(HDC hdc, const RECT& rc);

  DWORD m_textColor;
  DWORD m_disabledTextColor;
  int m_font;
  UINT m_textStyle;
  RECT m_textPadding;
  bool m_showHtml;

  bool m_effect;
  bool m_stroke;
  bool m_shadow;
  int m_renderingHint;
  int m_shadowAlpha;
  int m_shadowAlpha1;
  int m_textAlpha;
  int m_textAlpha1;
  int m_strokeAlpha;
  int m_gradientAngle;
  int m_gradientLength;
  DWORD m_textColor1;
  DWORD m_shadowColorA;
  DWORD m_shadowColorB;
  DWORD m_strokeColor;
  float m_shadowDx;
  float m_shadowDy;
  CUiString m_effectText;
};

// How an "align" value changes a DrawTextW style: each word found anywhere
// in the value ("left", "center", "right", "top", "vcenter", "bottom", in
// that order) sets and clears its bits.
UINT ApplyAlignWords(UINT style, const wchar_t* value);

}  // namespace UiToolkit
