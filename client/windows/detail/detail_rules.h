#pragma once
// What the detail view shows, as plain rules: star counts, the texts of its
// ratings and facts, the download / upgrade button's state, and the address
// of the local detail page.
#include <stdint.h>

#include <string>

namespace DetailRules {

const int kStarCount = 5;

// Full stars for an average score: score / 20, from none to five.
int FullStars(int score);
// The own rating that a click on star `index` (0 to 4) gives.
int OwnScore(int index);

std::wstring ScoreText(int score);
std::wstring CountText(int count);
std::wstring VersionText(const std::wstring& version);
std::wstring SizeText(int64_t bytes);

// How a software stands when the view is filled.
struct Standing {
    bool downloading = false;   // an active download of the id
    bool scan_waiting = false;  // the scan still runs and took the view as observer
    bool installed = false;     // the finished scan found the id installed
    bool update = false;        // ... and the catalogue has a newer version
};

struct ButtonLook {
    const wchar_t* text;
    bool enabled;
};

// The button after a fill: only a view waiting for the scan has it
// disabled (the scan's last word enables it).
ButtonLook ButtonAfterFill(const Standing& standing);
// The text once the scan found the id installed.
const wchar_t* CheckedText(bool update);
// The text once the scan is over for the view.
std::wstring TextAfterScan(const std::wstring& text);
// Whether a click on the button showing `text` starts a download.
bool ButtonStartsDownload(const std::wstring& text);

// The program folder (with its trailing backslash) followed by
// "data\detail\detail.html?soft_id=" and the id.
std::wstring PageAddress(const std::wstring& program_folder, int soft_id);

}  // namespace DetailRules
