#pragma once
// The detail view's own texts and images.

namespace DetailTexts {

const wchar_t kCaption[] = L"   软件详情";
const wchar_t kMyScore[] = L"我的评分：";

// The download / upgrade button.
const wchar_t kDownloading[] = L"下载中";
const wchar_t kUpgrade[] = L"升级";
const wchar_t kInstalled[] = L"已安装";
const wchar_t kDownload[] = L"下载";
const wchar_t kQuerying[] = L"正在查询";

// Facts and ratings (swprintf formats).
const wchar_t kScoreFormat[] = L" %d分";
const wchar_t kCountFormat[] = L"%d人参与评分";
const wchar_t kVersionPrefix[] = L"软件版本：";
const wchar_t kSizeFormat[] = L"软件大小：%.1fMB";
const wchar_t kLicence[] = L"授权方式：免费授权";
const wchar_t kUpdateTime[] = L"更新时间：";
const wchar_t kEnvironment[] = L"运行环境：";

// Star fore images: the full and the empty half of one picture.
const wchar_t kFullStar[] = L"file='default\\main\\star.png' source='0,0,12,11'";
const wchar_t kEmptyStar[] = L"file='default\\main\\star.png' source='12,0,24,11'";

const wchar_t kTitleBk[] = L"default\\main\\title_bk.png";
const wchar_t kBackNormal[] = L"default\\main\\back_btn_1.png";
const wchar_t kBackHot[] = L"default\\main\\back_btn_2.png";
const wchar_t kBackPushed[] = L"default\\main\\back_btn_3.png";
const wchar_t kButtonNormal[] = L"default\\main\\btn_down_1.png";
const wchar_t kButtonHot[] = L"default\\main\\btn_down_2.png";
const wchar_t kButtonPushed[] = L"default\\main\\btn_down_3.png";

}  // namespace DetailTexts
