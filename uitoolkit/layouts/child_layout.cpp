#include "uitoolkit/layouts/child_layout.h"

#include "uitoolkit/skin/skin_builder.h"

namespace UiToolkit {

const wchar_t* CChildLayoutUI::ClassName() const { return L"ChildLayoutUI"; }

LPVOID CChildLayoutUI::FindInterface(const wchar_t* name) {
  if (name && (wcscmp(name, L"ChildLayout") == 0 || wcscmp(name, L"Control") == 0)) return this;
  return nullptr;
}

void CChildLayoutUI::Initialize() {
  if (m_xmlFile.IsEmpty()) return;
  CSkinBuilder builder;
  CControlUI* content = builder.BuildSkin(m_xmlFile, nullptr, nullptr, m_manager, nullptr);
  if (!content) {
    RemoveAll();
    return;
  }
  // A tree that cannot be added belongs to nobody: delete it.
  if (!Add(content)) delete content;
}

void CChildLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && wcscmp(name, L"xmlfile") == 0)
    SetChildLayoutXml(value);
  else
    CContainerUI::ApplyAttribute(name, value);
}

}  // namespace UiToolkit
