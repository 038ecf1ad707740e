// Stands in for the settings dialog until it is built.
#include "client/windows/settings/settings_windows.h"
#include "foundation/log/log.h"

void ShowSettingDialog(HWND) {
    log_trace("%s: the settings dialog is not built yet", "ShowSettingDialog");
}
