#pragma once
// Makes controls for skin tags the skin builder does not know.
namespace UiToolkit {

class CControlUI;

class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() {}
  // A new control for the tag, or none to skip the element and its subtree.
  virtual CControlUI* CreateCustomControl(const wchar_t* tag) = 0;
};

}  // namespace UiToolkit
