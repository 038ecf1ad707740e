#include "client/windows/catalogue/type_list_item.h"

#include <wchar.h>

#include <string>

#include "client/core/icons/icon_downloader.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/row_waits.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "uitoolkit/layouts/horizontal_layout.h"

const wchar_t kFallbackTypeIcon[] = L"default\\main\\type_icon_default.png";

namespace {

std::wstring IconImage(const wchar_t* path) {
    return std::wstring(L"file='") + path + L"' dest='26,5,42,21'";
}

// On an icon-pool thread, with the downloader's lock held: post only.
void TypeIconComplete(int32_t class_id, const wchar_t* path, uint64_t identity, LPARAM row) {
    if (!path) {
        TypeIconWaits().Remove(class_id, identity);
        return;
    }
    const std::wstring copy(path);
    TypeIconWaits().TakeAndRun(class_id, identity, [&] {
        WPARAM text = NewIconPathParam(copy);
        if (!::PostMessageW(MainWindowHandle(), WM_TYPE_ICON_READY, text, row))
            FreeMessageRecord(MessageRecord::kIconPath, text, 0);
    });
}

}  // namespace

TypeListItem::TypeListItem(int32_t class_id, const wchar_t* name)
    : class_id_(class_id), identity_(NewRowIdentity()), asked_(false), icon_(new UiToolkit::CLabelUI),
      name_(new UiToolkit::CTextUI) {
    SetFixedHeight(27);
    UiToolkit::CHorizontalLayoutUI* layout = new UiToolkit::CHorizontalLayoutUI;
    icon_->ApplyAttribute(L"pos", L"0,0,50,27");
    icon_->SetBkImage(IconImage(kFallbackTypeIcon).c_str());
    layout->Add(icon_);
    name_->SetTextColor(0xFF1874CD);
    name_->SetTextPadding(RECT{0, 7, 0, 0});
    name_->SetText(name ? name : L"");
    layout->Add(name_);
    Add(layout);

    LiveTarget target;
    target.cls = TargetClass::kTypeListItem;
    target.control = this;
    target.icon = this;
    registration_.Set(static_cast<const void*>(this), target);

    std::wstring path;
    if (TypeIcon::Instance().GetIconPath(class_id_, &path)) {
        SetIcon(path.c_str());
        return;
    }
    asked_ = true;
    TypeIconWaits().Add(class_id_, identity_);
    const uint64_t identity = identity_;
    const LPARAM row = reinterpret_cast<LPARAM>(this);
    IconDownloader::Instance().RequestClassIcon(
        class_id_, [identity, row](int32_t id, const wchar_t* relative) {
            TypeIconComplete(id, relative, identity, row);
        });
}

TypeListItem::~TypeListItem() {
    registration_.Reset();
    if (asked_) TypeIconWaits().Remove(class_id_, identity_);
}

const wchar_t* TypeListItem::ClassName() const { return L"TypeListItemUI"; }

LPVOID TypeListItem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"TypeListItem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

void TypeListItem::SetIcon(const wchar_t* path) {
    if (!path || !*path) return;
    icon_->SetBkImage(IconImage(path).c_str());
}

void TypeListItem::ShowIconPath(const wchar_t* path) {
    // A message posted for a row that is gone may reach a new row at the
    // same address: only this category's icon file is taken.
    if (path && IconRelativePath(kClassIcon, class_id_) == path) SetIcon(path);
}

bool TypeListItem::WaitsForIcon() const { return asked_ && TypeIconWaits().Holds(class_id_, identity_); }
