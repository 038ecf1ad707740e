#pragma once
// Multi-line text, usually markup, whose links are clickable: a release on
// link i sends "link" with wParam i. Up to eight links of one text respond.
#include "uitoolkit/controls/label.h"

namespace UiToolkit {

class CTextUI : public CLabelUI {
 public:
  static constexpr int kMaxLinks = 8;

  CTextUI();
  ~CTextUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  void OnEvent(TUiEvent& event) override;
  SIZE MeasureSize(SIZE available) override;
  void PaintText(HDC hdc) override;

  int GetLinkCount() const { return m_linkCount; }
  RECT GetLinkRect(int i) const { return m_linkRects[i]; }
  const CUiString& GetLinkText(int i) const { return m_linkTexts[i]; }
  int GetHoverLink() const { return m_hoverLink; }

 private:
  int LinkAt(POINT pt) const;

  int m_linkCount;
  RECT m_linkRects[kMaxLinks];
  CUiString m_linkTexts[kMaxLinks];
  int m_hoverLink;
};

}  // namespace UiToolkit
