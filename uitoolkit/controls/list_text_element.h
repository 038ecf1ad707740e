#pragma once
// A multi-column text row: column c is drawn in the list's column c, from
// the list's text source when it has one, else from the row's own column
// texts; markup links in the columns (at most eight per row) are clickable.
#include <vector>

#include "uitoolkit/controls/list_element.h"

namespace UiToolkit {

class CListTextElementUI : public CListLabelElementUI {
 public:
  enum { kMaxLinks = 8 };
  CListTextElementUI();

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // The set-cursor bit as well while enabled with a link.
  UINT CapabilityFlags() const override;
  void SetOwner(CControlUI* owner) override;
  // (fixed width, fixed height); no fixed height: style font + padding + 8.
  SIZE MeasureSize(SIZE available) override;
  void OnEvent(TUiEvent& event) override;
  void DrawItemText(HDC hdc, const RECT& item) override;

  // The row's own column texts (used without a text source).
  const wchar_t* GetColumnText(int column) const;
  void SetColumnText(int column, const wchar_t* text);
  int GetLinkCount() const { return m_linkCount; }
  const RECT& GetLinkRect(int i) const { return m_linkRects[i]; }
  const CUiString& GetLinkText(int i) const { return m_linkTexts[i]; }
  int GetHoveredLink() const { return m_hoverLink; }

 private:
  int LinkAt(POINT pt) const;

  int m_linkCount;
  RECT m_linkRects[kMaxLinks];
  CUiString m_linkTexts[kMaxLinks];
  int m_hoverLink;
  IListUI* m_list;
  std::vector<CUiString> m_columnTexts;
};

}  // namespace UiToolkit
