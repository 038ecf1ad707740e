// Stands in for the self-update window until it is built.
#include "client/windows/update/update_windows.h"
#include "foundation/log/log.h"

void ShowUpdateTipWnd(HWND, const std::wstring& version, const std::wstring&) {
    log_trace("%s: the self-update window is not built yet (offered %ls)", "ShowUpdateTipWnd",
              version.c_str());
}
