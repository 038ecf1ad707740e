#include "client/windows/downloads/centre_rules.h"

namespace CentreRules {

std::wstring DownloadingCaption(size_t active) {
    return L"正在下载（" + std::to_wstring(active) + L"）";
}

std::wstring DownloadedCaption(size_t completed) {
    return L"已完成（" + std::to_wstring(completed) + L"）";
}

bool ProgressThrottle::Report(uint32_t now, int32_t speed, int32_t* mean) {
    sum_ += static_cast<uint32_t>(speed);
    ++count_;
    // A new row has never posted: its first report goes at once, whatever
    // the tick count reads.
    if (posted_ && static_cast<uint32_t>(now - last_post_) <= kIntervalMs) return false;
    *mean = static_cast<int32_t>(static_cast<uint32_t>(sum_ / count_));
    sum_ = 0;
    count_ = 0;
    last_post_ = now;
    posted_ = true;
    return true;
}

}  // namespace CentreRules
