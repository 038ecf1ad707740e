#include "tests/client/core/downloads/service_fixture.h"
#include <stdio.h>
#include "tests/support/test_support.h"

namespace download_test {

ServiceCatalogue::ServiceCatalogue() {
    folder = test_support::MakeTempDir(L"downloads");
    DownloadSources& s = CurrentDownloadSources();
    saved_ = s;
    s.get_soft = [this](int id) {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = records_.find(id);
        return it == records_.end() ? SoftwarePtr() : it->second;
    };
    s.download_file_path = [this](const Software& soft, std::wstring* path) {
        *path = FilePath(soft.soft_id);
        return true;
    };
    std::wstring host = service.host();
    s.catalogue_host = [host] { return host; };
}

ServiceCatalogue::~ServiceCatalogue() {
    CurrentDownloadSources() = saved_;
    test_support::RemoveTree(folder);
}

SoftwarePtr ServiceCatalogue::Add(int soft_id, int file_size, long long soft_size) {
    char path[96];
    snprintf(path, sizeof path, "/_files/%d?size=%d", soft_id, file_size);
    PlainGet(service.port(), path);
    auto soft = std::make_shared<Software>();
    soft->soft_id = soft_id;
    soft->soft_size = soft_size;
    soft->file_ext = L".exe";
    std::lock_guard<std::mutex> guard(lock_);
    records_[soft_id] = soft;
    return soft;
}

std::wstring ServiceCatalogue::FilePath(int soft_id) const {
    return folder + L"\\" + std::to_wstring(soft_id) + L".exe";
}

std::string ServiceCatalogue::Source(int soft_id) {
    return PlainGet(service.port(), "/files/" + std::to_string(soft_id) + ".bin");
}

std::string ServiceCatalogue::Written(int soft_id) const {
    std::string bytes;
    test_support::ReadFileBytes(FilePath(soft_id), &bytes);
    return bytes;
}

std::vector<std::string> ServiceCatalogue::FileRanges(int soft_id) {
    std::vector<std::string> ranges;
    Json::Value log = service.Log();
    const std::string path = "/files/" + std::to_string(soft_id) + ".bin";
    for (const Json::Value& entry : log) {
        if (entry.get("path", "").asString() != path) continue;
        const Json::Value& range = entry["range"];
        ranges.push_back(range.isString() ? range.asString() : "");
    }
    return ranges;
}

}  // namespace download_test
