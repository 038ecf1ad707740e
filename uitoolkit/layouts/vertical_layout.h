#pragma once
// A column: children stacked top to bottom, fixed heights kept, the rest
// shared; shows its vertical scroll bar when the content is taller.
#include "uitoolkit/layouts/linear_layout.h"

namespace UiToolkit {

class CVerticalLayoutUI : public CLinearLayoutUI {
 public:
  CVerticalLayoutUI();
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // "sepheight": the separator band.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
};

}  // namespace UiToolkit
