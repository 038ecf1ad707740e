// Starts a download whose answer stalls mid-body, waits for its first bytes
// and returns from main while the transfer is still blocked in a read: the
// process must end at once and cleanly, without waiting for the pool.
//   download_exit_helper.exe <host:port> <folder> <soft id>
#include <windows.h>
#include <memory>
#include <string>
#include "client/core/downloads/download_sources.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/core/catalogue/software.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    const std::wstring host = argv[1], folder = argv[2];
    auto soft = std::make_shared<Software>();
    soft->soft_id = _wtoi(argv[3]);
    soft->soft_size = 1 << 20;
    DownloadSources& sources = CurrentDownloadSources();
    sources.get_soft = [soft](int id) { return id == soft->soft_id ? soft : SoftwarePtr(); };
    sources.download_file_path = [folder](const Software& s, std::wstring* path) {
        *path = folder + L"\\" + std::to_wstring(s.soft_id) + L".exe";
        return true;
    };
    sources.catalogue_host = [host] { return host; };
    if (!DownloadTaskRegistry::Start(soft->soft_id)) return 3;
    for (int i = 0; i < 1000 && DownloadTaskRegistry::Find(soft->soft_id)->received() == 0; ++i) Sleep(10);
    return DownloadTaskRegistry::Find(soft->soft_id)->received() > 0 ? 0 : 4;
}
