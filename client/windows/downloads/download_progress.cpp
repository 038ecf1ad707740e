#include "client/windows/downloads/download_progress.h"

#include <stdio.h>
#include <wchar.h>

#include <string>

#include "client/core/downloads/download_task_registry.h"
#include "client/windows/downloads/speed_text.h"
#include "client/windows/main/message_records.h"
#include "uitoolkit/layouts/vertical_layout.h"

namespace {

const wchar_t kWaiting[] = L"等待下载";
const wchar_t kFailed[] = L"下载失败";
const int kButtonSize = 18;
// The main window's font for the percent (skin.xml): "100%" in the default
// font is wider than the 30 pixels its box has before the start button.
const int kPercentFont = 5;
const int kBarHeight = 8;

UiToolkit::CControlUI* Blank(int width) {
    UiToolkit::CControlUI* blank = new UiToolkit::CControlUI;
    blank->SetFixedWidth(width);
    return blank;
}

// A button without images that only shows a text.
UiToolkit::CButtonUI* TextButton() {
    UiToolkit::CButtonUI* text = new UiToolkit::CButtonUI;
    text->SetTextPadding(RECT{0, 3, 0, 0});
    text->ApplyAttribute(L"align", L"left");
    return text;
}

// One of the three buttons: "<stem>_1.png" normal to "_4.png" disabled.
UiToolkit::CButtonUI* ImageButton(const wchar_t* stem, bool enabled) {
    UiToolkit::CButtonUI* button = new UiToolkit::CButtonUI;
    button->SetFixedWidth(kButtonSize);
    button->SetFixedHeight(kButtonSize);
    const std::wstring base = std::wstring(L"default\\progress\\") + stem;
    button->SetNormalImage((base + L"_1.png").c_str());
    button->SetHotImage((base + L"_2.png").c_str());
    button->SetPushedImage((base + L"_3.png").c_str());
    button->SetDisabledImage((base + L"_4.png").c_str());
    button->SetEnabled(enabled);
    return button;
}

}  // namespace

DownloadProgress::DownloadProgress()
    : bar_(nullptr), start_(nullptr), stop_(nullptr), delete_(nullptr), percent_(nullptr),
      speed_(nullptr) {}

DownloadProgress::~DownloadProgress() {}

const wchar_t* DownloadProgress::ClassName() const { return L"DownloadProgressUI"; }

LPVOID DownloadProgress::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"DownloadProgress") == 0) return this;
    return CHorizontalLayoutUI::FindInterface(name);
}

void DownloadProgress::Build(const SoftwarePtr& soft, int bar_value, bool stop_enabled,
                             bool start_enabled, int percent, int32_t speed,
                             const wchar_t* fore_image, const wchar_t* back_image) {
    const int width = GetFixedWidth();
    const int height = GetFixedHeight();

    bar_ = new UiToolkit::CProgressUI;
    start_ = ImageButton(L"start_download", start_enabled);
    stop_ = ImageButton(L"stop_download", stop_enabled);
    delete_ = ImageButton(L"remove_download", true);
    percent_ = TextButton();
    speed_ = TextButton();

    UiToolkit::CVerticalLayoutUI* bar_column = new UiToolkit::CVerticalLayoutUI;
    bar_column->SetFixedHeight(height);
    bar_column->SetFixedWidth(width - 200);
    bar_column->SetInset(RECT{0, (height - kBarHeight) / 2, 0, 0});
    bar_->SetFixedHeight(kBarHeight);
    bar_->SetMaxValue(100);
    bar_->SetMinValue(0);
    bar_->SetValue(bar_value);
    bar_->SetBkImage(back_image ? back_image : L"");
    bar_->SetForeImage(fore_image ? fore_image : L"");
    bar_column->Add(bar_);
    Add(bar_column);

    Add(Blank(10));

    UiToolkit::CHorizontalLayoutUI* controls_column = new UiToolkit::CHorizontalLayoutUI;
    controls_column->SetFixedHeight(height);
    controls_column->SetInset(RECT{0, (height - kButtonSize) / 2, 0, 0});
    UiToolkit::CHorizontalLayoutUI* controls = new UiToolkit::CHorizontalLayoutUI;
    controls->SetFixedHeight(kButtonSize);
    percent_->SetFixedHeight(14);
    percent_->SetFixedWidth(30);
    percent_->SetFont(kPercentFont);
    controls->Add(percent_);
    controls->Add(start_);
    controls->Add(Blank(5));
    controls->Add(stop_);
    controls->Add(Blank(5));
    wchar_t id[16];
    swprintf(id, sizeof(id) / sizeof(id[0]), L"%d", soft ? static_cast<int>(soft->soft_id) : 0);
    delete_->SetUserData(id);
    controls->Add(delete_);
    controls->Add(Blank(10));
    speed_->SetFixedHeight(kButtonSize);
    controls->Add(speed_);
    controls_column->Add(controls);
    Add(controls_column);

    const std::wstring speed_text = FormatSpeedDecimal(speed);
    const std::wstring percent_text = FormatPercent(percent);
    ShowProgress(bar_value, percent_text.c_str(), speed_text.c_str());
}

void DownloadProgress::RegisterAsTarget() {
    LiveTarget target;
    target.cls = TargetClass::kDownloadProgress;
    target.control = this;
    target.receiver = this;
    registration_.Set(static_cast<const void*>(this), target);
}

int DownloadProgress::SoftId() const {
    return delete_ ? _wtoi(delete_->GetUserData().GetData()) : 0;
}

bool DownloadProgress::IsStoppedLook() const { return start_ && start_->IsEnabled(); }

void DownloadProgress::ShowProgress(int value, const wchar_t* percent_text,
                                    const wchar_t* speed_text) {
    if (!bar_) return;
    bar_->SetValue(value);
    if (percent_text) percent_->SetText(percent_text);
    if (speed_text) speed_->SetText(speed_text);
}

void DownloadProgress::ShowRunning() {
    if (!start_) return;
    start_->SetEnabled(false);
    stop_->SetEnabled(true);
}

void DownloadProgress::ShowStopped() {
    if (!start_) return;
    stop_->SetEnabled(false);
    start_->SetEnabled(true);
}

void DownloadProgress::ShowTransfer(int32_t state, int32_t percent, int32_t speed) {
    (void)state;
    if (!start_ || start_->IsEnabled()) return;  // a report after a stop never undoes it
    stop_->SetEnabled(true);
    const std::wstring speed_text = FormatSpeedWhole(speed);
    const std::wstring percent_text = FormatPercent(percent);
    ShowProgress(percent, percent_text.c_str(), speed_text.c_str());
}

void DownloadProgress::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_CLICK) {
        if (!msg.pSender || !bar_) return;
        // A click changes nothing by itself: the registry's observers report back.
        const int soft_id = SoftId();
        if (msg.pSender == start_) {
            DownloadTaskRegistry::Restart(soft_id);
        } else if (msg.pSender == stop_) {
            DownloadTaskRegistry::Stop(soft_id);
        } else if (msg.pSender == delete_) {
            DownloadTaskRegistry::Delete(soft_id);
        }
        return;
    }
    if (msg.pSender != this) return;
    if (msg.sType == L"wm_stop_download") {
        ShowStopped();
    } else if (msg.sType == L"wm_restart_download") {
        ShowRunning();
    } else if (msg.sType == L"wm_downloading") {
        DownloadProgressRecord* record = reinterpret_cast<DownloadProgressRecord*>(msg.wParam);
        msg.wParam = 0;
        if (!record) return;
        if (!bar_) {
            // never built: nothing to show it on
        } else if (record->state == 3) {
            ShowProgress(0, nullptr, kFailed);
        } else if (record->state == 0) {
            ShowProgress(0, L"0%", kWaiting);
        } else {
            ShowTransfer(record->state, record->percent, record->speed);
        }
        delete record;
    }
}
