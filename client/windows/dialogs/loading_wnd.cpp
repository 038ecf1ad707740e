#include "client/windows/dialogs/loading_wnd.h"

#include <wchar.h>

#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"
#include "uitoolkit/controls/gif_button.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {
const wchar_t kSkin[] = L"loading_wnd.xml";
const wchar_t kTaskComplete[] = L"on_task_complete";
}  // namespace

GifLoadding::GifLoadding(UiToolkit::CWindowManagerUI* manager) : manager_(manager) {
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(L"loading.xml", nullptr, nullptr, manager);
    if (root && root->FindInterface(L"IContainer"))
        Add(root);
    else
        delete root;
}

void GifLoadding::StartAnimation() {
    SetFixedWidth(48);
    SetFixedHeight(48);
    UiToolkit::CControlUI* found = manager_->FindControl(L"gif_loadding_btn");
    auto* gif = found ? static_cast<UiToolkit::CButtonGifUI*>(found->FindInterface(L"ButtonGif"))
                      : nullptr;
    if (!gif) return;
    gif->ApplyAttribute(L"NormalGifFile", L"default\\main\\loading.gif");
    // Animates with its normal picture, but ignores the mouse.
    gif->SetEnabled(false);
}

LoadingWnd::LoadingWnd(ke::task job)
    : CModalDialog(kSkin, L"loading_wnd"),
      job_(std::move(job)),
      returned_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      started_(false) {}

LoadingWnd::~LoadingWnd() {
    WaitForJob();
    if (returned_) ::CloseHandle(returned_);
}

bool LoadingWnd::JobReturned() const {
    return !returned_ || ::WaitForSingleObject(returned_, 0) == WAIT_OBJECT_0;
}

void LoadingWnd::WaitForJob() const {
    if (started_ && returned_) ::WaitForSingleObject(returned_, INFINITE);
}

void LoadingWnd::OnSkinReady() {
    UiToolkit::CHorizontalLayoutUI* plane = nullptr;
    if (!BindSkinControl(plane, m_manager, kSkin, L"loading_wnd_plane", L"HorizontalLayout")) {
        FailSkin();
        return;
    }
    GifLoadding* animation = new GifLoadding(&m_manager);
    plane->Add(animation);
    animation->StartAnimation();
    StartJob();
}

void LoadingWnd::StartJob() {
    if (started_) return;
    started_ = true;
    // The worker hands completion over with a posted message (the manager's
    // queue belongs to the UI thread), and only after the job has returned;
    // it never touches this object after setting the event.
    HWND hwnd = m_hwnd;
    HANDLE returned = returned_;
    ke::task* job = &job_;
    auto run = [job, returned, hwnd]() {
        if (*job) (*job)();
        if (returned) ::SetEvent(returned);
        UiToolkit::CWindowManagerUI::PostNotifyToWindow(hwnd, kTaskComplete);
    };
    // Without the event nobody could wait for a worker: run it here.
    if (!returned || !ke::run_detached(run)) {
        log_error("%s: no worker for the job, running it here", "LoadingWnd::StartJob");
        run();
    }
}

void LoadingWnd::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == kTaskComplete) PostClose();
}

bool LoadingWnd::OnDialogKey(WPARAM key) {
    // No WM_CLOSE while the job runs: the modal loop would re-enable the
    // owner on seeing one, even though this window stays.
    if (key == VK_ESCAPE && !JobReturned()) return true;
    return CModalDialog::OnDialogKey(key);
}

LRESULT LoadingWnd::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
    handled = !JobReturned();
    return 0;
}

namespace {

// Centred on the owner without `at`; else with its top-left corner there.
bool RunLoadingWnd(HWND owner, const POINT* at, ke::task job) {
    LoadingWnd* wnd = new LoadingWnd(std::move(job));
    if (!wnd->Create(owner, L"", kModalDialogStyle, 0, 0, 0, 0, 0)) {
        log_error("%s: the loading window could not be created", "RunInLoadingWnd");
        wnd->StartJob();  // the results are still wanted; no window to wait in
        delete wnd;       // waits for the job
        return true;
    }
    if (at)
        ::SetWindowPos(wnd->GetHWND(), nullptr, at->x, at->y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        wnd->CenterOnOwner();
    wnd->RunModal();
    const bool closed = wnd->GetHWND() == nullptr;
    wnd->WaitForJob();
    if (wnd->GetHWND()) ::DestroyWindow(wnd->GetHWND());
    delete wnd;
    return closed;
}

}  // namespace

bool RunInLoadingWnd(HWND owner, ke::task job) { return RunLoadingWnd(owner, nullptr, std::move(job)); }

bool RunInLoadingWndAt(HWND owner, POINT screen_pos, ke::task job) {
    return RunLoadingWnd(owner, &screen_pos, std::move(job));
}
