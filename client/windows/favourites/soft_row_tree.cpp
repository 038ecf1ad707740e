#include "client/windows/favourites/soft_row_tree.h"

#include <windows.h>

#include <string>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/icon_downloader.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/row_waits.h"
#include "client/windows/catalogue/soft_size_text.h"
#include "foundation/log/log.h"
#include "uitoolkit/layouts/vertical_layout.h"
#include "uitoolkit/markup/markup_literal.h"

namespace {

using UiToolkit::CButtonUI;
using UiToolkit::CControlUI;
using UiToolkit::CHorizontalLayoutUI;
using UiToolkit::CVerticalLayoutUI;

CButtonUI* ImageButton(int width, const wchar_t* text, const wchar_t* tooltip, const wchar_t* image) {
    CButtonUI* button = new CButtonUI;
    button->SetFixedHeight(23);
    button->SetFixedWidth(width);
    button->SetText(text);
    if (tooltip) button->SetToolTip(tooltip);
    const std::wstring base = std::wstring(L"default\\home\\") + image;
    button->SetNormalImage((base + L"_1.png").c_str());
    button->SetHotImage((base + L"_2.png").c_str());
    button->SetPushedImage((base + L"_3.png").c_str());
    return button;
}

CControlUI* Spacer(int width) {
    CControlUI* spacer = new CControlUI;
    spacer->SetFixedWidth(width);
    return spacer;
}

}  // namespace

SoftRowTree BuildSoftRowTree(UiToolkit::CContainerUI* row, const SoftwarePtr& soft,
                             SoftRowKind kind) {
    SoftRowTree tree;
    const bool favourite = kind == SoftRowKind::kFavourite;

    CVerticalLayoutUI* frame = new CVerticalLayoutUI;
    frame->SetFixedHeight(kSoftRowHeight);
    CHorizontalLayoutUI* line = new CHorizontalLayoutUI;
    line->SetFixedHeight(kSoftRowHeight - 1);
    CControlUI* separator = new CControlUI;
    separator->SetFixedHeight(1);
    separator->SetBkColor(0xFFEAEAEA);
    frame->Add(line);
    frame->Add(separator);
    row->Add(frame);

    // Icon, name and description.
    CHorizontalLayoutUI* about = new CHorizontalLayoutUI;
    about->SetFixedHeight(kSoftRowHeight - 1);
    about->SetFixedWidth(500);
    about->SetInset(RECT{20, 6, 0, 0});
    tree.icon = new UiToolkit::CLabelUI;
    tree.icon->SetFixedWidth(48);
    tree.icon->SetFixedHeight(48);
    about->Add(tree.icon);
    CVerticalLayoutUI* texts = new CVerticalLayoutUI;
    tree.name = new CButtonUI;
    tree.name->SetFixedHeight(24);
    tree.name->SetFont(4);
    tree.name->SetEnabled(false);
    tree.name->SetDisabledTextColor(0xFF000000);
    tree.name->ApplyAttribute(L"align", L"left");
    tree.name->SetTextPadding(RECT{20, 0, 0, 0});
    tree.desc = new UiToolkit::CTextUI;
    tree.desc->SetFixedHeight(20);
    tree.desc->SetTextColor(0xFF8B8989);
    tree.desc->ApplyAttribute(L"endellipsis", L"true");
    tree.desc->SetTextPadding(RECT{20, 4, 0, 4});
    tree.desc->SetShowHtml(true);
    texts->Add(tree.name);
    texts->Add(tree.desc);
    about->Add(texts);
    line->Add(about);

    // Size.
    tree.size_box = new CHorizontalLayoutUI;
    tree.size_box->SetFixedWidth(favourite ? 80 : 150);
    tree.size_text = new UiToolkit::CTextUI;
    tree.size_text->SetTextPadding(RECT{5, 25, 0, 0});
    tree.size_box->Add(tree.size_text);
    line->Add(tree.size_box);

    if (favourite) {
        CHorizontalLayoutUI* add_cell = new CHorizontalLayoutUI;
        add_cell->SetFixedWidth(108);
        add_cell->SetInset(RECT{10, 20, 20, 0});
        tree.add_scheme = ImageButton(68, L"添加方案", L"添加至解决方案中", L"add_scheme_btn");
        tree.add_scheme->SetTextColor(0xFFFFFFFF);
        add_cell->Add(tree.add_scheme);
        line->Add(add_cell);
    }

    tree.buttons = new CHorizontalLayoutUI;
    tree.buttons->SetInset(favourite ? RECT{10, 20, 0, 0} : RECT{0, 20, 0, 0});
    tree.detail = ImageButton(62, L"查看", L"软件详情", L"detail_btn");
    tree.del = ImageButton(62, L"删除", favourite ? L"从收藏中删除" : nullptr, L"delete_btn");
    tree.buttons->Add(tree.detail);
    tree.buttons->Add(Spacer(10));
    tree.buttons->Add(tree.del);
    line->Add(tree.buttons);

    if (soft) {
        tree.name->SetText(soft->soft_name.c_str());
        tree.name->SetToolTip(soft->soft_name.c_str());
        // A catalogue text is never markup: an image tag in it would load
        // a local file.
        tree.desc->SetText(UiToolkit::MarkupLiteral(soft->soft_desc.c_str()));
        tree.desc->SetToolTip(soft->soft_desc.c_str());
        tree.size_text->SetText(FormatSoftSize(soft->soft_size).c_str());
    }
    return tree;
}

// ---- icons ----

namespace {

void IconArrived(RowWaits* waits, unsigned message, const char* log_name, int32_t soft_id,
                 const wchar_t* path, uint64_t identity, LPARAM label) {
    if (!path) {
        log_error("%s: Download Icon Failed", log_name);
        waits->Remove(soft_id, identity);
        return;
    }
    // Posted under the registry's lock: a row whose destructor has taken
    // its entry out is never named.
    waits->TakeAndRun(soft_id, identity, [&] {
        ::PostMessageW(MainWindowHandle(), message, static_cast<WPARAM>(soft_id), label);
    });
}

}  // namespace

SoftRowIcon::SoftRowIcon(RowWaits& waits, unsigned ready_message, const char* log_name)
    : waits_(waits), ready_message_(ready_message), log_name_(log_name), soft_id_(0),
      identity_(0) {}

SoftRowIcon::~SoftRowIcon() {
    if (identity_) waits_.Remove(soft_id_, identity_);
}

bool SoftRowIcon::Waiting() const { return identity_ && waits_.Holds(soft_id_, identity_); }

void SoftRowIcon::Show(int32_t soft_id, UiToolkit::CLabelUI* label) {
    if (!label || identity_) return;
    soft_id_ = soft_id;
    LiveTarget target;
    target.cls = TargetClass::kIconControl;
    target.control = label;
    label_target_.Set(static_cast<const void*>(label), target);

    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(soft_id);
    const std::wstring known = soft ? SoftInfoMgr::Instance().GetIconPath(*soft) : std::wstring();
    if (!known.empty()) {
        label->SetBkImage(known.c_str());
        return;
    }
    identity_ = NewRowIdentity();
    waits_.Add(soft_id, identity_);
    RowWaits* waits = &waits_;
    const unsigned message = ready_message_;
    const char* log_name = log_name_;
    const uint64_t identity = identity_;
    const LPARAM target_label = reinterpret_cast<LPARAM>(label);
    IconDownloader::Instance().RequestSoftIcon(
        soft_id, [=](int32_t id, const wchar_t* path) {
            IconArrived(waits, message, log_name, id, path, identity, target_label);
        });
}

RowWaits& CollectIconWaits() {
    static RowWaits* waits = new RowWaits;  // never freed: pool threads may still answer
    return *waits;
}

RowWaits& SchemeSoftIconWaits() {
    static RowWaits* waits = new RowWaits;
    return *waits;
}
