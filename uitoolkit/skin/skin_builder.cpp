#include "uitoolkit/skin/skin_builder.h"

#include <stdlib.h>
#include <wchar.h>

#include "foundation/log/log.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/skin/skin_controls.h"
#include "uitoolkit/skin/skin_resources.h"
#include "uitoolkit/skin/skin_tree_nodes.h"
#include "uitoolkit/zip/skin_files.h"

namespace UiToolkit {
namespace {

bool IsResourceElement(const wchar_t* tag) {
  return wcscmp(tag, L"Image") == 0 || wcscmp(tag, L"Font") == 0 || wcscmp(tag, L"Default") == 0;
}

HMODULE ResourceModule() {
  HMODULE module = CurrentSkinLocation().resourceModule;
  if (!module) module = CWindowManagerUI::GetInstance();
  if (!module) module = ::GetModuleHandleW(nullptr);
  return module;
}

// The control was made here and nobody else holds it.
void Discard(CControlUI* control) { delete control; }

}  // namespace

CSkinBuilder::CSkinBuilder() : m_callback(nullptr), m_type(nullptr), m_depth(0) {}

bool CSkinBuilder::LoadResource(UINT id, const wchar_t* type) {
  HMODULE module = ResourceModule();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!found) return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  DWORD size = ::SizeofResource(module, found);
  const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
  if (!bytes || size == 0) return false;
  return m_document.LoadFromUtf8(bytes, static_cast<int>(size));
}

CControlUI* CSkinBuilder::BuildSkin(const wchar_t* xml, const wchar_t* type,
                                    IDialogBuilderCallback* callback, CWindowManagerUI* manager,
                                    CControlUI* parent) {
  if (!xml) return nullptr;
  if (!IS_INTRESOURCE(xml) && xml[0] == L'<') {
    if (!m_document.LoadFromText(xml)) return nullptr;
  } else if (IS_INTRESOURCE(xml)) {
    if (!type || !LoadResource(static_cast<UINT>(reinterpret_cast<UINT_PTR>(xml)), type)) {
      log_error("%s: skin resource %u of type %ls not loaded", __FUNCTION__,
                static_cast<unsigned>(reinterpret_cast<UINT_PTR>(xml)), type ? type : L"(none)");
      return nullptr;
    }
    m_type = type;
  } else {
    if (!m_document.LoadSkinFile(xml)) {
      log_error("%s: skin file %ls not loaded: %ls", __FUNCTION__, xml, m_document.LastError());
      return nullptr;
    }
  }
  return BuildFromDocument(manager, parent, callback);
}

CControlUI* CSkinBuilder::BuildFromDocument(CWindowManagerUI* manager, CControlUI* parent,
                                            IDialogBuilderCallback* callback) {
  m_callback = callback;
  CXmlMarkupNode root = m_document.RootNode();
  if (!root.IsValid()) return nullptr;
  if (manager) {
    for (CXmlMarkupNode node = root.FirstChildNode(); node.IsValid();
         node = node.NextSiblingNode()) {
      if (IsResourceElement(node.TagName())) RegisterSkinResource(manager, node);
    }
    if (manager->GetWindow() && wcscmp(root.TagName(), L"Window") == 0) {
      for (int i = 0; i < root.AttrCount(); ++i)
        ApplyWindowAttribute(manager, root.AttrNameAt(i), root.AttrValueAt(i));
    }
  }
  return BuildChildren(root, parent, manager);
}

void CSkinBuilder::BuildInclude(CXmlMarkupNode& element, CControlUI* parent,
                                CWindowManagerUI* manager) {
  if (element.AttrCount() == 0) return;
  wchar_t count_text[CXmlMarkupNode::kValueBufferSize];
  int count = element.ValueOf(L"count", count_text) ? _wtoi(count_text) : 1;
  wchar_t source[CXmlMarkupNode::kValueBufferSize];
  if (!element.ValueOf(L"source", source) || count <= 0) return;
  if (m_depth >= kMaxIncludeDepth) {
    log_error("%s: Include of %ls nested deeper than %d levels; not followed", __FUNCTION__, source,
              kMaxIncludeDepth);
    return;
  }
  for (int i = 0; i < count; ++i) {
    CSkinBuilder included;
    included.m_depth = m_depth + 1;
    CControlUI* built;
    if (m_type) {
      UINT id = static_cast<UINT>(_wtoi(source)) & 0xFFFF;
      built = included.BuildSkin(MAKEINTRESOURCEW(id), m_type, m_callback, manager, parent);
    } else {
      built = included.BuildSkin(source, nullptr, m_callback, manager, parent);
    }
    // With a parent the included controls are its children; without one
    // they would belong to nobody.
    if (built && !parent) Discard(built);
  }
}

CControlUI* CSkinBuilder::BuildChildren(CXmlMarkupNode& element, CControlUI* parent,
                                        CWindowManagerUI* manager) {
  IContainerUI* container = nullptr;
  CControlUI* holder = parent;
  bool containerAsked = false;
  CControlUI* result = nullptr;
  for (CXmlMarkupNode node = element.FirstChildNode(); node.IsValid();
       node = node.NextSiblingNode()) {
    const wchar_t* tag = node.TagName();
    if (IsResourceElement(tag)) continue;
    if (wcscmp(tag, L"Include") == 0) {
      BuildInclude(node, parent, manager);
      continue;
    }
    if (wcscmp(tag, L"TreeNode") == 0) {
      if (BuildTreeNode(node, parent, manager)) continue;
      if (result && !parent) Discard(result);
      return nullptr;
    }
    CControlUI* control = CreateControlForTag(tag);
    if (!control && m_callback) control = m_callback->CreateCustomControl(tag);
    if (!control) continue;

    if (node.HasChildNodes()) BuildChildren(node, control, manager);

    if (parent) {
      if (!containerAsked) {
        container = SkinContainerOf(parent, &holder);
        containerAsked = true;
      }
      if (!container) {
        Discard(control);
        return nullptr;
      }
      if (!container->Add(control)) {
        Discard(control);
        continue;
      }
    }
    if (manager) {
      control->AttachManager(manager, nullptr, false);
      if (const wchar_t* defaults = SkinDefaultAttributes(manager, tag))
        control->ApplyAttributeList(defaults);
    }
    for (int i = 0; i < node.AttrCount(); ++i)
      control->ApplyAttribute(node.AttrNameAt(i), node.AttrValueAt(i));
    if (manager) {
      CWindowManagerUI* live = parent ? parent->GetManager() : nullptr;
      if (live) {
        // Added to a container of a live window: attached for real, and its
        // names (set only now, after the add) entered.
        control->AttachManager(live, holder, false);
        live->RegisterNames(control);
      } else {
        control->AttachManager(nullptr, nullptr, false);
      }
    }
    if (!result) {
      result = control;
    } else if (!parent) {
      // Only the first top-level control is handed back; the others would
      // belong to nobody.
      Discard(control);
    }
  }
  return result;
}

}  // namespace UiToolkit
