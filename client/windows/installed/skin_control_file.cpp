#include "client/windows/installed/skin_control_file.h"

#include <wchar.h>

#include "client/core/startup/main_window_handle.h"
#include "foundation/log/log.h"
#include "uitoolkit/skin/skin_builder.h"

UiToolkit::CControlUI* CreateControlFromSkinFile(const wchar_t* skin_file) {
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(skin_file, nullptr, nullptr, MainManager(), nullptr);
    if (!root) log_error("%s: skin %ls did not build", "CreateControlFromSkinFile", skin_file);
    return root;
}

namespace {

UiToolkit::CControlUI* CALLBACK ByName(UiToolkit::CControlUI* control, LPVOID name) {
    return control->GetName() == static_cast<const wchar_t*>(name) ? control : nullptr;
}

}  // namespace

void* FindSkinControlInTree(UiToolkit::CControlUI* root, const wchar_t* skin_file, const wchar_t* name,
                            const wchar_t* iface) {
    UiToolkit::CControlUI* control =
        root ? root->Search(ByName, const_cast<wchar_t*>(name), UiToolkit::UIFIND_ME_FIRST) : nullptr;
    void* found = control ? control->FindInterface(iface) : nullptr;
    if (!control) {
        log_error("%s: skin %ls: control \"%ls\" is missing", "FindSkinControlInTree", skin_file, name);
    } else if (!found) {
        log_error("%s: skin %ls: control \"%ls\" is a %ls, not a %ls", "FindSkinControlInTree", skin_file,
                  name, control->ClassName(), iface);
    }
    return found;
}
