#include "client/core/download_sources.h"
#include "client/core/host_config.h"

namespace {

DownloadSources* MakeDefaultSources() {
    DownloadSources* s = new DownloadSources();
    s->get_soft = [](int) { return std::shared_ptr<Software>(); };
    s->soft_size = [](const Software&) { return 0LL; };
    s->download_file_path = [](const Software&, std::wstring*) { return false; };
    s->download_file = [](const std::wstring&, const std::wstring&, const std::wstring&, DownloadObserver*,
                          int) { return false; };
    s->catalogue_host = [] { return ServiceHostName(ServiceHost::Catalogue); };
    return s;
}

}  // namespace

DownloadSources& CurrentDownloadSources() {
    static DownloadSources* sources = MakeDefaultSources();
    return *sources;
}
