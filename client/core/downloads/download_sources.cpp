#include "client/core/downloads/download_sources.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/catalogue/soft_info_mgr.h"

namespace {

DownloadSources* MakeDefaultSources() {
    DownloadSources* s = new DownloadSources();
    s->get_soft = [](int soft_id) { return SoftInfoMgr::Instance().GetSoft(soft_id); };
    s->download_file_path = [](const Software& soft, std::wstring* path) {
        return ConfMgr::GetDownloadFilePath(path, soft);
    };
    s->download_file = HttpDownloadFile;
    s->catalogue_host = [] { return ServiceHostName(ServiceHost::Catalogue); };
    return s;
}

}  // namespace

DownloadSources& CurrentDownloadSources() {
    static DownloadSources* sources = MakeDefaultSources();
    return *sources;
}
