#pragma once
// The main window's own texts (shared with its tests).
namespace MainFrameTexts {

const wchar_t kLogin[] = L"登陆";
const wchar_t kMyHome[] = L"我的管家";
const wchar_t kCheckingVersion[] = L"正在检测软件版本...";
const wchar_t kLoadingVersionDb[] = L"正在加载软件版本库...";
// Filled with the local year, month and day.
const wchar_t kVersionDbDateFormat[] = L"软件版本信息：%d.%d.%d";
const wchar_t kVersionDbFailed[] = L"下载软件版本库失败!!!";
const wchar_t kAlreadyLatest[] = L"您当前软件版本已是最新版本！";
const wchar_t kNetworkUnavailable[] = L"网络不可用，请检查网络！";
const wchar_t kPleaseLogIn[] = L"请登录Kelvora！";

}  // namespace MainFrameTexts
