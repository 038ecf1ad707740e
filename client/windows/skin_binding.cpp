#include "client/windows/skin_binding.h"

#include "foundation/log/log.h"
#include "uitoolkit/core/control.h"

void* FindSkinControl(UiToolkit::CWindowManagerUI& manager, const wchar_t* skin_file,
                      const wchar_t* name, const wchar_t* iface) {
    UiToolkit::CControlUI* control = manager.FindControl(name);
    void* found = control ? control->FindInterface(iface) : nullptr;
    if (!control) {
        log_error("%s: skin %ls: control \"%ls\" is missing", "FindSkinControl", skin_file, name);
    } else if (!found) {
        log_error("%s: skin %ls: control \"%ls\" is a %ls, not a %ls", "FindSkinControl", skin_file,
                  name, control->ClassName(), iface);
    }
    return found;
}
