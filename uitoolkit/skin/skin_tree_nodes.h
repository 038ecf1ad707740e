#pragma once
// How the skin builder places controls under tree nodes: a node's other
// child elements go into its row, beside the item button.
namespace UiToolkit {

class CControlUI;
class IContainerUI;

// The container a child element of `parent` is added to, and the control
// that holds it (a tree node's row layout, else the parent itself). None
// when the parent holds no children.
IContainerUI* SkinContainerOf(CControlUI* parent, CControlUI** holder);

}  // namespace UiToolkit
