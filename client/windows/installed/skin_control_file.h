#pragma once
// Controls built from a skin file of their own (the installed-programs page
// and its rows) against the main window's manager, so they take its fonts
// and default attributes. Such a file must hold no fonts, images or default
// lists of its own: they would be added to the main manager at every build.
#include "uitoolkit/core/control.h"

// The first top-level control of the file, owned by the caller and not yet
// attached to any window; none when the file does not load.
UiToolkit::CControlUI* CreateControlFromSkinFile(const wchar_t* skin_file);

// The control `name` in the tree under `root` (the root included), as the
// interface `iface`. Searched in the tree itself: rows built from one file
// all carry the same names, so the manager's name map cannot tell them
// apart. None, with a log line naming the file and the control, when it is
// missing or of another class.
void* FindSkinControlInTree(UiToolkit::CControlUI* root, const wchar_t* skin_file, const wchar_t* name,
                            const wchar_t* iface);

template <class T>
bool BindSkinControlInTree(T*& out, UiToolkit::CControlUI* root, const wchar_t* skin_file,
                           const wchar_t* name, const wchar_t* iface) {
    out = static_cast<T*>(FindSkinControlInTree(root, skin_file, name, iface));
    return out != nullptr;
}
