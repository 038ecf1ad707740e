#include "client/windows/catalogue/row_looks.h"

namespace RowLooks {

const wchar_t kDownloadText[] = L"下载";
const wchar_t kUpgradeText[] = L"升级";
const wchar_t kInstalledText[] = L"已安装";
const wchar_t kQueryingText[] = L"正在查询";
const wchar_t kInstallingText[] = L"正在安装";

const wchar_t kFullStar[] = L"file='default\\main\\star.png' source='0,0,12,11'";
const wchar_t kEmptyStar[] = L"file='default\\main\\star.png' source='12,0,24,11'";

namespace {

#define IMAGES(stem)                                                                   \
    {L"default\\main\\" stem L"_1.png", L"default\\main\\" stem L"_2.png",              \
     L"default\\main\\" stem L"_3.png"},                                                \
    {                                                                                  \
        L"default\\main\\" stem L"_menu_1.png", L"default\\main\\" stem L"_menu_2.png", \
            L"default\\main\\" stem L"_menu_3.png"                                      \
    }

const LookImages kLooks[] = {
    {kDownloadText, IMAGES(L"download")},
    {kUpgradeText, IMAGES(L"update")},
    {kInstalledText, IMAGES(L"installed")},
    {kQueryingText, IMAGES(L"download")},
};

#undef IMAGES

}  // namespace

const LookImages& ImagesOf(Look look) { return kLooks[look]; }

int FullStars(int score) {
    const int stars = score / 20;
    if (stars < 0) return 0;
    return stars > 5 ? 5 : stars;
}

}  // namespace RowLooks
