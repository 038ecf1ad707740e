#include "uitoolkit/controls/tree_view.h"

#include <wchar.h>

#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/tree_node.h"
#include "uitoolkit/core/attribute_values.h"

namespace UiToolkit {

namespace {

// Only a real tree node is taken in: the class name must say so.
CTreeNodeUI* NewNode(CControlUI* control) {
  if (!control || wcscmp(control->ClassName(), L"TreeNodeUI") != 0) return nullptr;
  return static_cast<CTreeNodeUI*>(control->FindInterface(L"TreeNode"));
}

CTreeNodeUI* AnyNode(CControlUI* control) {
  return control ? static_cast<CTreeNodeUI*>(control->FindInterface(L"TreeNode")) : nullptr;
}

}  // namespace

CTreeViewUI::CTreeViewUI()
    : m_itemMinWidth(0), m_showFolderButtons(true), m_showCheckBoxes(false) {
  if (CListHeaderUI* header = GetHeader()) header->SetVisible(false);
}

const wchar_t* CTreeViewUI::ClassName() const { return L"TreeViewUI"; }

LPVOID CTreeViewUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"TreeView")) return static_cast<CTreeViewUI*>(this);
  return CListUI::FindInterface(name);
}

CTreeNodeUI* CTreeViewUI::NodeAt(int index) const { return AnyNode(GetItemAt(index)); }

void CTreeViewUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  if (SameName(name, L"visiblefolderbtn")) {
    ShowFolderButtons(ParseBoolValue(value));
  } else if (SameName(name, L"visiblecheckbtn")) {
    ShowCheckBoxes(ParseBoolValue(value));
  } else if (SameName(name, L"itemminwidth")) {
    SetItemMinWidth(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"itemtextcolor")) {
    SetNodeTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"itemhottextcolor")) {
    SetNodeHotTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"selitemtextcolor")) {
    SetNodeSelectedTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"selitemhottextcolor")) {
    SetNodeSelectedHotTextColor(ParseColorValue(value, false));
  } else {
    CListUI::ApplyAttribute(name, value);
  }
}

// ---- adding ----

void CTreeViewUI::Prepare(CTreeNodeUI* node) {
  node->OnNotifyDelegates += MakeDelegate(this, &CTreeViewUI::OnItemDoubleClick);
  node->GetFolderButton()->OnNotifyDelegates += MakeDelegate(this, &CTreeViewUI::OnFolderButtonChanged);
  node->GetCheckBox()->OnNotifyDelegates += MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
  node->GetFolderButton()->SetVisible(m_showFolderButtons);
  node->GetCheckBox()->SetVisible(m_showCheckBoxes);
  if (m_itemMinWidth != 0) node->SetMinWidth(m_itemMinWidth);
}

bool CTreeViewUI::AddNode(CControlUI* control) {
  CTreeNodeUI* node = NewNode(control);
  // A row already here would be owned twice.
  if (!node || GetItemIndex(node) >= 0) return false;
  Prepare(node);
  if (!CListUI::Add(node)) return false;
  for (int i = 0; i < node->GetChildNodeCount(); ++i) AddNode(node->GetChildNode(i));
  node->SetTreeView(this);
  return true;
}

int CTreeViewUI::AddNodeAt(CControlUI* control, int index) {
  CTreeNodeUI* node = NewNode(control);
  if (!node || index < 0 || index > GetCount() || GetItemIndex(node) >= 0) return -1;
  Prepare(node);
  if (!CListUI::AddAt(node, index)) return -1;
  int next = index + 1;
  for (int i = 0; i < node->GetChildNodeCount(); ++i) {
    const int after = AddNodeAt(node->GetChildNode(i), next);
    if (after >= 0) next = after;
  }
  node->SetTreeView(this);
  return next;
}

bool CTreeViewUI::InsertNodeBefore(CControlUI* node, CControlUI* row) {
  if (!node && !row) return false;
  if (GetCount() == 0) return false;
  const int index = row ? GetItemIndex(row) : -1;
  if (index < 0) return false;
  return AddNodeAt(node, index) >= 0;
}

// ---- removing ----

bool CTreeViewUI::RemoveNode(CControlUI* control) {
  CTreeNodeUI* node = AnyNode(control);
  if (!node || GetItemIndex(node) < 0) return false;
  while (node->GetChildNodeCount() > 0) {
    if (!node->Remove(node->GetChildNode(0))) break;
  }
  if (CTreeNodeUI* parent = node->GetParentNode()) parent->ForgetChildNode(node);
  return CListUI::Remove(node);
}

bool CTreeViewUI::Remove(CControlUI* control) {
  if (AnyNode(control) && GetItemIndex(control) >= 0) return RemoveNode(control);
  return CListUI::Remove(control);
}

bool CTreeViewUI::RemoveAt(int index) {
  CControlUI* row = GetItemAt(index);
  if (!row) return false;
  if (AnyNode(row)) return RemoveNode(row);
  return CListUI::RemoveAt(index);
}

// ---- folder buttons, check boxes and double clicks ----

CTreeNodeUI* CTreeViewUI::NodeHolding(CControlUI* part, bool folder) const {
  if (!part) return nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CTreeNodeUI* node = NodeAt(i);
    if (node && (folder ? static_cast<CControlUI*>(node->GetFolderButton())
                        : static_cast<CControlUI*>(node->GetCheckBox())) == part)
      return node;
  }
  return nullptr;
}

bool CTreeViewUI::OnCheckBoxChanged(void* param) {
  TUiNotify* msg = static_cast<TUiNotify*>(param);
  if (!msg || msg->sType != UI_NOTIFY_SELECTCHANGED) return true;
  if (CTreeNodeUI* node = NodeHolding(msg->pSender, false))
    CheckNodes(node->GetCheckBox()->IsSelected(), node);
  return true;
}

bool CTreeViewUI::OnFolderButtonChanged(void* param) {
  TUiNotify* msg = static_cast<TUiNotify*>(param);
  if (!msg || msg->sType != UI_NOTIFY_SELECTCHANGED) return true;
  if (CTreeNodeUI* node = NodeHolding(msg->pSender, true)) {
    // A selected folder button means collapsed.
    node->SetNodeExpanded(!node->GetFolderButton()->IsSelected());
    ExpandNodes(node->IsNodeExpanded(), node);
  }
  return true;
}

bool CTreeViewUI::OnItemDoubleClick(void* param) {
  TUiNotify* msg = static_cast<TUiNotify*>(param);
  if (!msg || msg->sType != UI_NOTIFY_ITEMDBCLICK) return false;
  CTreeNodeUI* node = AnyNode(msg->pSender);
  if (!node || GetItemIndex(node) < 0) return true;
  CCheckBoxUI* folder = node->GetFolderButton();
  folder->SetSelected(!folder->IsSelected());
  node->SetNodeExpanded(!folder->IsSelected());
  ExpandNodes(node->IsNodeExpanded(), node);
  return true;
}

void CTreeViewUI::CheckNodes(bool checked, CTreeNodeUI* node) {
  if (!node) {
    for (int i = 0; i < GetCount(); ++i) {
      if (CTreeNodeUI* row = NodeAt(i)) row->GetCheckBox()->SetSelected(checked);
    }
    return;
  }
  for (int i = 0; i < node->GetChildNodeCount(); ++i) {
    CTreeNodeUI* child = node->GetChildNode(i);
    child->GetCheckBox()->SetSelected(checked);
    CheckNodes(checked, child);
  }
}

void CTreeViewUI::ExpandNodes(bool expand, CTreeNodeUI* node) {
  if (!node) {
    for (int i = 0; i < GetCount(); ++i) {
      CControlUI* row = GetItemAt(i);
      CTreeNodeUI* top = AnyNode(row);
      if (top && top->GetParentNode()) continue;
      row->SetVisible(expand);
      if (top && top->GetChildNodeCount() > 0 && !top->GetFolderButton()->IsSelected())
        ExpandNodes(expand, top);
    }
    return;
  }
  for (int i = 0; i < node->GetChildNodeCount(); ++i) {
    CTreeNodeUI* child = node->GetChildNode(i);
    child->SetVisible(expand);
    if (child->GetChildNodeCount() > 0 && !child->GetFolderButton()->IsSelected())
      ExpandNodes(expand, child);
  }
}

// ---- settings of every row ----

void CTreeViewUI::ShowFolderButtons(bool show) {
  m_showFolderButtons = show;
  for (int i = 0; i < GetCount(); ++i) {
    if (CTreeNodeUI* node = NodeAt(i)) node->GetFolderButton()->SetVisible(show);
  }
}

void CTreeViewUI::ShowCheckBoxes(bool show) {
  m_showCheckBoxes = show;
  for (int i = 0; i < GetCount(); ++i) {
    if (CTreeNodeUI* node = NodeAt(i)) node->GetCheckBox()->SetVisible(show);
  }
}

void CTreeViewUI::SetItemMinWidth(int width) {
  m_itemMinWidth = width;
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetMinWidth(width);
  Invalidate();
}

void CTreeViewUI::RecolourNodes(void (CTreeNodeUI::*set)(DWORD), DWORD color) {
  for (int i = 0; i < GetCount(); ++i) {
    if (CTreeNodeUI* node = NodeAt(i)) (node->*set)(color);
  }
}

void CTreeViewUI::SetNodeTextColor(DWORD color) {
  RecolourNodes(&CTreeNodeUI::SetItemTextColor, color);
}
void CTreeViewUI::SetNodeHotTextColor(DWORD color) {
  RecolourNodes(&CTreeNodeUI::SetItemHotTextColor, color);
}
void CTreeViewUI::SetNodeSelectedTextColor(DWORD color) {
  RecolourNodes(&CTreeNodeUI::SetSelItemTextColor, color);
}
void CTreeViewUI::SetNodeSelectedHotTextColor(DWORD color) {
  RecolourNodes(&CTreeNodeUI::SetSelItemHotTextColor, color);
}

}  // namespace UiToolkit
