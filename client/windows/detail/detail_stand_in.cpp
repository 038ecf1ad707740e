#include "client/windows/detail/detail.h"

#include <wchar.h>

#include "client/core/startup/main_window_handle.h"
#include "client/windows/main_frame_messages.h"
#include "uitoolkit/controls/label.h"

Detail::Detail() : back_(new UiToolkit::CButtonUI) {
    SetBkColor(0xFFFFFFFF);
    SetInset(RECT{20, 16, 20, 0});
    UiToolkit::CLabelUI* note = new UiToolkit::CLabelUI;
    note->SetFixedHeight(30);
    note->SetText(L"软件详情");
    note->SetTextColor(0xFF434343);
    Add(note);
    back_->SetFixedWidth(80);
    back_->SetFixedHeight(26);
    back_->SetText(L"返回列表");
    back_->SetTextColor(0xFF1874CD);
    back_->SetHotTextColor(0xFF0000CD);
    back_->SetBorderColor(0xFFB8C8DA);
    back_->SetBorderSize(1);
    Add(back_);
    Add(new UiToolkit::CControlUI);
}

const wchar_t* Detail::ClassName() const { return L"DetailUI"; }

LPVOID Detail::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"Detail") == 0) return this;
    return CVerticalLayoutUI::FindInterface(name);
}

void Detail::ShowSoft(const SoftwarePtr&) {}

void Detail::Leave() {}

void Detail::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_CLICK && msg.pSender == back_)
        ::PostMessageW(MainWindowHandle(), WM_BACK_TO_SOFT_LIST_PAGE, 0, 0);
}
