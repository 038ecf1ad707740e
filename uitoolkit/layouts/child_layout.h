#pragma once
// A container whose content is built from another skin file when it is
// initialised. It answers only as a control, so a skin builder does not
// nest elements written inside it.
#include "uitoolkit/controls/container.h"
#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

class CChildLayoutUI : public CContainerUI {
 public:
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // Builds the skin file (when one is set) and adds the tree it gives.
  void Initialize() override;
  // "xmlfile": the skin file name.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

  const CUiString& GetChildLayoutXml() const { return m_xmlFile; }
  void SetChildLayoutXml(const wchar_t* file) { m_xmlFile = file; }

 private:
  CUiString m_xmlFile;
};

}  // namespace UiToolkit
