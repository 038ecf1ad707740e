#pragma once
// The download centre's rules that need no window: its captions, and how
// a row thins out the progress reports of a running download.
#include <stddef.h>
#include <stdint.h>

#include <string>

namespace CentreRules {

// "正在下载（3）" and "已完成（1）".
std::wstring DownloadingCaption(size_t active);
std::wstring DownloadedCaption(size_t completed);

// Posting only every 300 ms: the speeds reported in between are summed and
// the post carries their mean. The sum is 64-bit: 32 bits overflow within
// a second once a download runs above a few MB/s.
class ProgressThrottle {
public:
    static const uint32_t kIntervalMs = 300;

    // One report of `speed` (bytes per second, taken as unsigned) at tick
    // `now`. True when it is time to post: `mean` then holds the mean
    // speed of the reports since the last post, and the counting starts
    // afresh. The first report always posts.
    bool Report(uint32_t now, int32_t speed, int32_t* mean);

    uint64_t sum() const { return sum_; }
    uint32_t count() const { return count_; }

private:
    uint32_t last_post_ = 0;
    bool posted_ = false;
    uint64_t sum_ = 0;
    uint32_t count_ = 0;
};

}  // namespace CentreRules
