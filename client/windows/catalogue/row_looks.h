#pragma once
// The faces of a catalogue row's action button and its rating stars.
namespace RowLooks {

enum Look { kDownload, kUpgrade, kInstalled, kQuerying };

extern const wchar_t kDownloadText[];    // "下载"
extern const wchar_t kUpgradeText[];     // "升级"
extern const wchar_t kInstalledText[];   // "已安装"
extern const wchar_t kQueryingText[];    // "正在查询"
extern const wchar_t kInstallingText[];  // "正在安装"

struct LookImages {
    const wchar_t* text;
    const wchar_t* action[3];  // normal, hot, pushed
    const wchar_t* menu[3];
};
const LookImages& ImagesOf(Look look);

// The rating as stars: score / 20 full stars, 0 to 5.
int FullStars(int score);
extern const wchar_t kFullStar[];
extern const wchar_t kEmptyStar[];

}  // namespace RowLooks
