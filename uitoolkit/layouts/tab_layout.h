#pragma once
// One visible child at a time: the current tab fills the inner rectangle,
// the others stay hidden.
#include "uitoolkit/controls/container.h"

namespace UiToolkit {

class CTabLayoutUI : public CContainerUI {
 public:
  CTabLayoutUI();
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;

  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;

  int GetCurSel() const { return m_current; }
  // Shows the child at `index`, hides the others and sends "tabselect"
  // (new index, previous index). False for an index outside the children.
  bool SelectItem(int index);

  void SetBounds(RECT rc) override;
  // "selectedid": SelectItem.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

 private:
  // A new child becomes current when nothing is, else it is hidden.
  void AdoptNewChild(CControlUI* control, int index);
  int m_current;
};

}  // namespace UiToolkit
