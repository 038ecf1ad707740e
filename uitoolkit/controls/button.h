#pragma once
// A label that clicks: state images and text colours for normal, hot,
// pushed, focused and disabled, a press-and-release state machine, and
// "click" on a release inside the button.
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/label.h"

namespace UiToolkit {

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  ~CButtonUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  bool Activate() override;
  void SetEnabled(bool enabled = true) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  SIZE MeasureSize(SIZE available) override;
  void PaintStateImage(HDC hdc) override;
  void PaintText(HDC hdc) override;

  UINT GetState() const { return m_state; }
  void SetNormalImage(const wchar_t* image);
  void SetHotImage(const wchar_t* image);
  void SetPushedImage(const wchar_t* image);
  void SetFocusedImage(const wchar_t* image);
  void SetDisabledImage(const wchar_t* image);
  void SetForeImage(const wchar_t* image);
  void SetHotForeImage(const wchar_t* image);
  void SetPushedForeImage(const wchar_t* image);
  const CUiString& GetNormalImage() const { return m_normalImage; }
  const CUiString& GetHotImage() const { return m_hotImage; }
  const CUiString& GetPushedImage() const { return m_pushedImage; }
  const CUiString& GetFocusedImage() const { return m_focusedImage; }
  const CUiString& GetDisabledImage() const { return m_disabledImage; }
  const CUiString& GetForeImage() const { return m_foreImage; }
  const CUiString& GetHotForeImage() const { return m_hotForeImage; }
  DWORD GetHotBkColor() const { return m_hotBkColor; }
  void SetHotBkColor(DWORD c) { m_hotBkColor = c; }
  DWORD GetHotTextColor() const { return m_hotTextColor; }
  void SetHotTextColor(DWORD c) { m_hotTextColor = c; }
  DWORD GetPushedTextColor() const { return m_pushedTextColor; }
  void SetPushedTextColor(DWORD c) { m_pushedTextColor = c; }
  DWORD GetFocusedTextColor() const { return m_focusedTextColor; }
  void SetFocusedTextColor(DWORD c) { m_focusedTextColor = c; }

 protected:
  // Focused and disabled bits from the control's flags.
  void RefreshFocusAndDisabled();
  // Draws an image string; one that fails is cleared and not tried again.
  bool DrawOrClear(HDC hdc, CUiString& image);
  // The text in `color` with the button's own style.
  void DrawCaption(HDC hdc, DWORD color);

  UINT m_state;
  DWORD m_hotBkColor;
  DWORD m_hotTextColor;
  DWORD m_pushedTextColor;
  DWORD m_focusedTextColor;
  CUiString m_normalImage;
  CUiString m_hotImage;
  CUiString m_hotForeImage;
  CUiString m_pushedImage;
  CUiString m_pushedForeImage;
  CUiString m_focusedImage;
  CUiString m_disabledImage;
};

}  // namespace UiToolkit
