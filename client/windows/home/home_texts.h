#pragma once
// The home page's own texts and the notifications it sends its sub-pages
// (shared with the sub-pages and the tests).
namespace HomeTexts {

// Followed by the account exactly as it was typed at login.
const wchar_t kGreetingPrefix[] = L"欢迎你 ";

const wchar_t kSwitchToScheme[] = L"home_switch_page_scheme";
const wchar_t kSwitchToCollect[] = L"home_switch_page_collect";
const wchar_t kFetchCollect[] = L"fetch_collect_soft";

}  // namespace HomeTexts
