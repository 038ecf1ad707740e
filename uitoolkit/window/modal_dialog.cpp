#include "uitoolkit/window/modal_dialog.h"

namespace UiToolkit {

CModalDialog::CModalDialog(const wchar_t* skin_file, const wchar_t* class_name)
    : m_skinFile(skin_file ? skin_file : L""), m_className(class_name ? class_name : L"") {}

CModalDialog::~CModalDialog() {}

const wchar_t* CModalDialog::WindowClassName() const { return m_className; }
UINT CModalDialog::ClassStyle() const { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_SAVEBITS; }
const wchar_t* CModalDialog::SkinFolder() const { return L""; }
const wchar_t* CModalDialog::SkinFile() const { return m_skinFile; }
void CModalDialog::OnClickNotify(TUiNotify&) {}

}  // namespace UiToolkit
