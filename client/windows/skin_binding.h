#pragma once
// Finding the named controls a window's code relies on. A skin that lacks
// one, or has it as another class, is a broken skin: the caller logs it
// (done here, with the skin file and the name) and takes its skin-failure
// road.
#include "uitoolkit/core/window_manager.h"

// The control `name` of the manager, as the interface `iface` (the class
// name that the control's FindInterface answers, such as L"Button"); none,
// with a log line, when it is missing or of another class.
void* FindSkinControl(UiToolkit::CWindowManagerUI& manager, const wchar_t* skin_file,
                      const wchar_t* name, const wchar_t* iface);

template <class T>
bool BindSkinControl(T*& out, UiToolkit::CWindowManagerUI& manager, const wchar_t* skin_file,
                     const wchar_t* name, const wchar_t* iface) {
    out = static_cast<T*>(FindSkinControl(manager, skin_file, name, iface));
    return out != nullptr;
}
