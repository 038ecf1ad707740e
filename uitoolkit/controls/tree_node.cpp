#include "uitoolkit/controls/tree_node.h"

#include <wchar.h>

#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/tree_view.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/layouts/horizontal_layout.h"

namespace UiToolkit {

namespace {

// Each level is indented this much further than its parent.
const int kIndentStep = 16;

CTreeNodeUI* NodeOf(CControlUI* control) {
  return control ? static_cast<CTreeNodeUI*>(control->FindInterface(L"TreeNode")) : nullptr;
}

}  // namespace

CTreeNodeUI::CTreeNodeUI()
    : m_textColor(0),
      m_hotTextColor(0),
      m_selectedTextColor(0),
      m_selectedHotTextColor(0),
      m_expanded(true),
      m_treeView(nullptr),
      m_parentNode(nullptr),
      m_row(new CHorizontalLayoutUI),
      m_indent(new CLabelUI),
      m_folder(new CCheckBoxUI),
      m_check(new CCheckBoxUI),
      m_item(new COptionUI) {
  m_indent->SetVisible(false);
  m_indent->SetFixedWidth(2);
  m_folder->SetFixedWidth(18);
  m_check->SetVisible(false);
  m_check->SetFixedWidth(18);
  m_item->ApplyAttribute(L"align", L"left");
  // Clicks on the text reach the node.
  m_item->SetMouseEnabled(false);
  m_row->Add(m_indent);
  m_row->Add(m_folder);
  m_row->Add(m_check);
  m_row->Add(m_item);
  CContainerUI::Add(m_row);
  SetFixedHeight(18);
  SetFixedWidth(250);
}

CTreeNodeUI::~CTreeNodeUI() {
  if (m_treeView) return;
  for (int i = 0; i < m_children.GetSize(); ++i) {
    CTreeNodeUI* child = GetChildNode(i);
    if (child->m_treeView) continue;
    child->m_parentNode = nullptr;
    delete child;
  }
}

const wchar_t* CTreeNodeUI::ClassName() const { return L"TreeNodeUI"; }

LPVOID CTreeNodeUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"TreeNode")) return static_cast<CTreeNodeUI*>(this);
  return CListContainerElementUI::FindInterface(name);
}

CUiString CTreeNodeUI::GetText() const { return m_item->GetText(); }
void CTreeNodeUI::SetText(const wchar_t* text) { m_item->SetText(text); }

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const {
  return static_cast<CTreeNodeUI*>(m_children.GetAt(index));
}

bool CTreeNodeUI::ForgetChildNode(CTreeNodeUI* child) { return m_children.Remove(child); }

int CTreeNodeUI::GetTreeIndex() const {
  return m_treeView ? m_treeView->GetItemIndex(const_cast<CTreeNodeUI*>(this)) : -1;
}

CTreeNodeUI* CTreeNodeUI::GetLastDescendant() {
  CTreeNodeUI* node = this;
  while (node->GetChildNodeCount() > 0) node = node->GetChildNode(node->GetChildNodeCount() - 1);
  return node;
}

// ---- colours and selection ----

void CTreeNodeUI::SetItemTextColor(DWORD color) {
  m_textColor = color;
  m_item->SetTextColor(color);
  InvalidateRow();
}

void CTreeNodeUI::SetItemHotTextColor(DWORD color) {
  m_hotTextColor = color;
  InvalidateRow();
}

void CTreeNodeUI::SetSelItemTextColor(DWORD color) {
  m_selectedTextColor = color;
  InvalidateRow();
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD color) {
  m_selectedHotTextColor = color;
  InvalidateRow();
}

bool CTreeNodeUI::Select(bool select) {
  const bool result = CListContainerElementUI::Select(select);
  m_item->SetTextColor(IsSelected() ? m_selectedTextColor : m_textColor);
  return result;
}

void CTreeNodeUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_owner)
      m_owner->ForwardEvent(event);
    else
      CContainerUI::OnEvent(event);
    return;
  }
  CListContainerElementUI::OnEvent(event);
  switch (event.Type) {
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        InvalidateRow();
        Emit(UI_NOTIFY_ITEMDBCLICK);
      }
      break;
    case UIEVENT_MOUSEENTER:
      if (!IsEnabled()) {
        m_item->SetTextColor(m_item->GetDisabledTextColor());
      } else if (IsSelected()) {
        m_item->SetTextColor(m_selectedHotTextColor ? m_selectedHotTextColor : m_hotTextColor);
      } else {
        m_item->SetTextColor(m_hotTextColor);
      }
      break;
    case UIEVENT_MOUSELEAVE:
      if (!IsEnabled()) {
        m_item->SetTextColor(m_item->GetDisabledTextColor());
      } else if (!IsSelected()) {
        m_item->SetTextColor(m_textColor);
      } else if (m_selectedTextColor != 0) {
        m_item->SetTextColor(m_selectedTextColor);
      }
      break;
    default:
      break;
  }
}

void CTreeNodeUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  if (SameName(name, L"text")) {
    m_item->SetText(value);
  } else if (SameName(name, L"horizattr")) {
    m_row->ApplyAttributeList(value);
  } else if (SameName(name, L"dotlineattr")) {
    m_indent->ApplyAttributeList(value);
  } else if (SameName(name, L"folderattr")) {
    m_folder->ApplyAttributeList(value);
  } else if (SameName(name, L"checkboxattr")) {
    m_check->ApplyAttributeList(value);
  } else if (SameName(name, L"itemattr")) {
    m_item->ApplyAttributeList(value);
  } else if (SameName(name, L"itemtextcolor")) {
    SetItemTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"itemhottextcolor")) {
    SetItemHotTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"selitemtextcolor")) {
    SetSelItemTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"selitemhottextcolor")) {
    SetSelItemHotTextColor(ParseColorValue(value, false));
  } else {
    CListContainerElementUI::ApplyAttribute(name, value);
  }
}

// ---- child nodes ----

void CTreeNodeUI::IndentChildren() {
  for (int i = 0; i < GetChildNodeCount(); ++i) {
    CTreeNodeUI* child = GetChildNode(i);
    child->m_indent->SetVisible(true);
    child->m_indent->SetFixedWidth(m_indent->GetFixedWidth() + kIndentStep);
    child->IndentChildren();
  }
}

void CTreeNodeUI::Attach(CTreeNodeUI* child) {
  child->m_indent->SetVisible(true);
  child->m_indent->SetFixedWidth(m_indent->GetFixedWidth() + kIndentStep);
  // A child that brings a subtree along brings it one level deeper.
  child->IndentChildren();
  child->m_parentNode = this;
  child->m_item->SetGroup(m_item->GetGroup());
  child->m_treeView = m_treeView;
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* child, int index) {
  if (child == this || m_children.Find(child) >= 0) return false;
  CTreeNodeUI* before = GetChildNode(index);
  Attach(child);
  if (m_treeView) {
    int position = -1;
    if (before) {
      position = before->GetTreeIndex();
    } else {
      CTreeNodeUI* last = GetChildNodeCount() > 0 ? GetLastDescendant() : this;
      const int at = last->GetTreeIndex();
      if (at >= 0) position = at + 1;
    }
    if (position < 0 || m_treeView->AddNodeAt(child, position) < 0) {
      // Not recorded: the caller still holds a node that belongs nowhere.
      child->m_parentNode = nullptr;
      child->m_treeView = nullptr;
      return false;
    }
  }
  return before ? m_children.InsertAt(index, child) : m_children.Add(child);
}

bool CTreeNodeUI::Add(CControlUI* control) {
  if (!control) return false;
  CTreeNodeUI* child = NodeOf(control);
  if (!child || _wcsicmp(control->ClassName(), L"TreeNodeUI") != 0)
    return CListContainerElementUI::Add(control);
  return AddChildNode(child, -1);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index) {
  CTreeNodeUI* child = NodeOf(control);
  if (!child) return false;
  return AddChildNode(child, index >= 0 && index < GetChildNodeCount() ? index : -1);
}

bool CTreeNodeUI::Remove(CControlUI* control) {
  CTreeNodeUI* child = NodeOf(control);
  if (!child || m_children.Find(child) < 0) return CListContainerElementUI::Remove(control);
  while (child->GetChildNodeCount() > 0) {
    if (!child->Remove(child->GetChildNode(0))) break;
  }
  m_children.Remove(child);
  if (child->m_treeView && child->m_treeView->RemoveNode(child)) return true;
  // A row of no tree: nobody else owns it.
  child->m_parentNode = nullptr;
  child->m_treeView = nullptr;
  delete child;
  return true;
}

}  // namespace UiToolkit
