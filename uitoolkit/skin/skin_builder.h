#pragma once
// Turns a skin document into a control tree for one window manager:
// registers the document's fonts, images and default attribute lists,
// applies a "Window" root's window attributes, creates a control for every
// element (unknown tags through the callback), nests them and applies
// their attributes. A builder builds once and is then thrown away.
#include <windows.h>

#include "uitoolkit/markup/xml_markup.h"
#include "uitoolkit/skin/dialog_builder_callback.h"

namespace UiToolkit {

class CControlUI;
class CWindowManagerUI;

class CSkinBuilder {
 public:
  // Includes inside includes deeper than this are not followed: a skin that
  // includes itself would otherwise recurse until the stack runs out.
  static const int kMaxIncludeDepth = 16;

  CSkinBuilder();

  // `xml`: a resource identifier (below 0x10000; of resource type `type`),
  // a whole document (text beginning with "<"), or a skin file name.
  // Returns the first control built at the top level, or none. Without a
  // parent the caller owns that control; any further top-level controls
  // would belong to nobody and are deleted.
  CControlUI* BuildSkin(const wchar_t* xml, const wchar_t* type, IDialogBuilderCallback* callback,
                        CWindowManagerUI* manager, CControlUI* parent = nullptr);
  CControlUI* BuildFromDocument(CWindowManagerUI* manager, CControlUI* parent,
                                IDialogBuilderCallback* callback);
  CXmlMarkup& Document() { return m_document; }

 private:
  CControlUI* BuildChildren(CXmlMarkupNode& element, CControlUI* parent, CWindowManagerUI* manager);
  void BuildInclude(CXmlMarkupNode& element, CControlUI* parent, CWindowManagerUI* manager);
  // False when the node stood outside any tree view: the level ends there.
  bool BuildTreeNode(CXmlMarkupNode& element, CControlUI* parent, CWindowManagerUI* manager);
  bool LoadResource(UINT id, const wchar_t* type);

  CXmlMarkup m_document;
  IDialogBuilderCallback* m_callback;
  const wchar_t* m_type;  // set once the document came from a resource
  int m_depth;            // how many includes deep this builder runs
};

}  // namespace UiToolkit
