#pragma once
// A button that stays selected, alone (a toggle) or as one member of a
// named group in its window (selecting one deselects the others); and the
// check box, an option without a group.
#include "uitoolkit/controls/button.h"

namespace UiToolkit {

class COptionUI : public CButtonUI {
 public:
  COptionUI();
  ~COptionUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  bool Activate() override;
  void AttachManager(CWindowManagerUI* manager, CControlUI* parent,
                     bool initialize = true) override;
  void SetEnabled(bool enabled = true) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStateImage(HDC hdc) override;
  void PaintText(HDC hdc) override;
  virtual void SetSelected(bool selected);
  // The same change of state, look and group, but no "selectchanged": for
  // code that shows a selection it has already acted on.
  void SetSelectedQuietly(bool selected);

  bool IsSelected() const { return m_selected; }
  const CUiString& GetGroup() const { return m_group; }
  void SetGroup(const wchar_t* group);
  const CUiString& GetSelectedImage() const { return m_selectedImage; }
  void SetSelectedImage(const wchar_t* image);
  const CUiString& GetSelectedHotImage() const { return m_selectedHotImage; }
  void SetSelectedHotImage(const wchar_t* image);
  void SetOptionForeImage(const wchar_t* image);
  const CUiString& GetOptionForeImage() const { return m_optionForeImage; }
  DWORD GetSelectedBkColor() const { return m_selectedBkColor; }
  void SetSelectedBkColor(DWORD c) { m_selectedBkColor = c; }
  DWORD GetSelectedTextColor() const { return m_selectedTextColor; }
  void SetSelectedTextColor(DWORD c) { m_selectedTextColor = c; }

 protected:
  // Draws the button's state image (the fallback of every selected path).
  void PaintButtonStateImage(HDC hdc) { CButtonUI::PaintStateImage(hdc); }

  bool m_selected;
  bool m_quiet;  // set while SetSelectedQuietly runs
  CUiString m_group;
  DWORD m_selectedBkColor;
  DWORD m_selectedTextColor;
  CUiString m_selectedImage;
  CUiString m_selectedHotImage;
  CUiString m_optionForeImage;
};

class CCheckBoxUI : public COptionUI {
 public:
  const wchar_t* ClassName() const override;
};

}  // namespace UiToolkit
