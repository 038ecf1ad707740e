#include "client/core/startup/main_init.h"
#include <windows.h>
#include <shlwapi.h>
#include "client/core/downloads/complete_queue.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/install_scan/install_scan_mgr.h"
#include "foundation/log/log.h"

bool MainInit() {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = '\0';
    PathAppendA(path, "data\\vantrel.log");
    log_open(path);
    log_trace("%s: startup", "MainInit");
    InstallScanMgr::Instance().StartScan();
    ConfMgr::SetDBFileName();
    CompleteQueue& queue = CompleteQueue::Instance();
    if (!queue.Start()) log_error("%s: CompleteQueue Start Failed", "MainInit");
    return true;
}
