#pragma once
// A row: children side by side, fixed widths kept, the rest shared.
#include "uitoolkit/layouts/linear_layout.h"

namespace UiToolkit {

class CHorizontalLayoutUI : public CLinearLayoutUI {
 public:
  CHorizontalLayoutUI();
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // "sepwidth": the separator band.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
};

}  // namespace UiToolkit
