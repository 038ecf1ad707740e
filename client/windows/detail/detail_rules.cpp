#include "client/windows/detail/detail_rules.h"

#include <stdarg.h>
#include <wchar.h>

#include "client/windows/detail/detail_texts.h"

namespace DetailRules {

namespace {

std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[512];
    va_list args;
    va_start(args, format);
    int n = vswprintf(text, sizeof(text) / sizeof(text[0]), format, args);
    va_end(args);
    return n < 0 ? std::wstring() : std::wstring(text, n);
}

}  // namespace

int FullStars(int score) {
    int full = score / 20;
    if (full < 0) return 0;
    return full > kStarCount ? kStarCount : full;
}

int OwnScore(int index) { return (index + 1) * 20; }

std::wstring ScoreText(int score) { return Format(DetailTexts::kScoreFormat, score); }

std::wstring CountText(int count) { return Format(DetailTexts::kCountFormat, count); }

std::wstring VersionText(const std::wstring& version) {
    // Joined, not formatted: a long version must not vanish in a buffer.
    return DetailTexts::kVersionPrefix + version;
}

std::wstring SizeText(int64_t bytes) {
    return Format(DetailTexts::kSizeFormat, static_cast<double>(bytes) / 1024.0 / 1024.0);
}

ButtonLook ButtonAfterFill(const Standing& standing) {
    if (standing.downloading) return {DetailTexts::kDownloading, true};
    if (standing.scan_waiting) return {DetailTexts::kQuerying, false};
    if (standing.installed) return {CheckedText(standing.update), true};
    return {DetailTexts::kDownload, true};
}

const wchar_t* CheckedText(bool update) {
    return update ? DetailTexts::kUpgrade : DetailTexts::kInstalled;
}

std::wstring TextAfterScan(const std::wstring& text) {
    return text == DetailTexts::kQuerying ? std::wstring(DetailTexts::kDownload) : text;
}

bool ButtonStartsDownload(const std::wstring& text) {
    return text == DetailTexts::kUpgrade || text == DetailTexts::kDownload;
}

std::wstring PageAddress(const std::wstring& program_folder, int soft_id) {
    return program_folder + L"data\\detail\\detail.html?soft_id=" + std::to_wstring(soft_id);
}

}  // namespace DetailRules
