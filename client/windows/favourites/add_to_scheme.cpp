#include "client/windows/favourites/add_to_scheme.h"

#include <vector>

#include "client/core/startup/main_window_handle.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/schemes/add_scheme_soft.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"

void RunAddToScheme(int soft_id) {
    HWND main = MainWindowHandle();
    std::vector<SchemeInfo> schemes;
    if (!RunInLoadingWnd(main, [&schemes]() { SchemeMgr::Instance().GetSchemes(&schemes, false); }))
        return;
    if (schemes.empty()) return;

    std::vector<int32_t> chosen;
    ShowAddSchemeSoft(&chosen, schemes);
    if (chosen.empty()) return;

    int failed = 0;
    if (!RunInLoadingWnd(main, [&]() {
            for (int32_t scheme_id : chosen) {
                if (!SchemeMgr::Instance().AddSoftToScheme(scheme_id, soft_id)) ++failed;
            }
        }))
        return;
    if (failed)
        log_error("%s: soft=%d not added to %d of %d schemes", "AddSoftToSchemes", soft_id, failed,
                  static_cast<int>(chosen.size()));
    // The schemes page reloads its schemes with their program counts.
    if (UiToolkit::CWindowManagerUI* manager = MainManager()) {
        manager->EmitNotify(nullptr, L"refresh_content_scheme_soft", 0, 0, true);
        ::PostMessageW(main, WM_NULL, 0, 0);
    }
}
