#pragma once
#include <functional>
#include <memory>
#include <string>
#include "client/core/catalogue/software.h"

class DownloadObserver;

// What the download engine, the task registry and the completion queue need
// from the rest of the client: catalogue records, the download folder and
// the file transfer. Bound to the software cache, the settings store and the
// HTTP download by default; tests replace members before any download runs.
struct DownloadSources {
    // The cached record of a soft id; empty when not cached.
    std::function<SoftwarePtr(int soft_id)> get_soft;
    // Where the record's installer is downloaded to; false or empty: none.
    std::function<bool(const Software& soft, std::wstring* path)> download_file_path;
    // A resumable transfer of host + path into the file from byte `offset`.
    std::function<bool(const std::wstring& host, const std::wstring& path, const std::wstring& file,
                       DownloadObserver* observer, int64_t offset)>
        download_file;
    // "host" or "host:port" of the catalogue.
    std::function<std::wstring()> catalogue_host;
};

// The process-wide sources (never destroyed: pool threads may outlive main).
DownloadSources& CurrentDownloadSources();
