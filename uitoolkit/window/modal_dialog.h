#pragma once
// A skinned dialog whose skin file and window class are given when it is
// made. Shown with Create, CenterOnOwner and RunModal; its named buttons act
// only through the dialog's own notification handling.
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/window/window_impl_base.h"

namespace UiToolkit {

class CModalDialog : public WindowImplBase {
 public:
  CModalDialog(const wchar_t* skin_file, const wchar_t* class_name);
  ~CModalDialog() override;

 protected:
  const wchar_t* WindowClassName() const override;
  UINT ClassStyle() const override;
  const wchar_t* SkinFolder() const override;
  const wchar_t* SkinFile() const override;
  void OnClickNotify(TUiNotify& msg) override;

 private:
  CUiString m_skinFile;
  CUiString m_className;
};

}  // namespace UiToolkit
