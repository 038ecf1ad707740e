#pragma once
// Real downloads from a private session of the local services: records made
// here, files written into a temporary folder, the client's own transfer.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include "client/core/downloads/download_sources.h"
#include "client/core/catalogue/software.h"
#include "tests/support/private_service.h"

namespace download_test {

class ServiceCatalogue {
public:
    ServiceCatalogue();  // points the sources at the session and the folder
    ~ServiceCatalogue();

    // A record whose file on the service has `file_size` bytes.
    SoftwarePtr Add(int soft_id, int file_size, long long soft_size);
    std::wstring FilePath(int soft_id) const;
    // The bytes the service serves for the id (fetched without faults).
    std::string Source(int soft_id);
    std::string Written(int soft_id) const;
    // The Range header of each request for the id's file, in order ("" for
    // none).
    std::vector<std::string> FileRanges(int soft_id);

    PrivateService service;
    std::wstring folder;

private:
    std::mutex lock_;
    std::map<int, SoftwarePtr> records_;
    DownloadSources saved_;
};

}  // namespace download_test
