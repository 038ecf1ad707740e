#include "setup/common/setup_window.h"

#include <string>

#include "foundation/log/log.h"

namespace {
std::wstring& SkinResourceSlot() {
    static std::wstring* name = new std::wstring;  // lives until the process ends
    return *name;
}
}  // namespace

void UseSetupSkinResource(const wchar_t* name) { SkinResourceSlot() = name ? name : L""; }
const wchar_t* SetupSkinResource() { return SkinResourceSlot().c_str(); }

void* FindSkinInterface(UiToolkit::CWindowManagerUI& manager, const wchar_t* name,
                        const wchar_t* kind) {
    UiToolkit::CControlUI* control = manager.FindControl(name);
    if (!control) {
        log_error("%s: the skin has no %ls", __FUNCTION__, name);
        return nullptr;
    }
    void* found = control->FindInterface(kind);
    if (!found)
        log_error("%s: %ls is a %ls, not a %ls", __FUNCTION__, name, control->ClassName(), kind);
    return found;
}

SetupWindow::SetupWindow() : m_skinLoaded(true), m_closing(false) {}

const wchar_t* SetupWindow::SkinFolder() const { return L""; }
int SetupWindow::SkinSourceKind() const { return UiToolkit::UISKIN_ZIP_RESOURCE; }
const wchar_t* SetupWindow::SkinResourceName() const { return SetupSkinResource(); }

void SetupWindow::OnSkinLoadFailed() {
    m_skinLoaded = false;
    log_error("%s: window %ls stays empty", __FUNCTION__, WindowClassName());
}

LRESULT SetupWindow::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
    handled = true;
    RequestClose();
    return 0;
}

LRESULT SetupWindow::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    PostQuitMessage(0);
    return 0;
}

void SetupWindow::RequestClose() {
    if (m_closing) return;
    if (!m_skinLoaded) {
        // An empty window has no page to ask from: closing ends the program.
        PostQuitMessage(0);
        return;
    }
    m_closing = true;
    OnCloseRequest();
    m_closing = false;
}

SetupDialog::SetupDialog(const wchar_t* skin_file, const wchar_t* class_name)
    : CModalDialog(skin_file, class_name) {}

int SetupDialog::SkinSourceKind() const { return UiToolkit::UISKIN_ZIP_RESOURCE; }
const wchar_t* SetupDialog::SkinResourceName() const { return SetupSkinResource(); }
void SetupDialog::OnSkinLoadFailed() {
    log_error("%s: dialog %ls stays empty", __FUNCTION__, WindowClassName());
}

void ShowAndRun(SetupWindow* window, const wchar_t* title, int width, int height, UINT icon_id) {
    if (!window->Create(nullptr, title, 0, 0, 0, 0, width, height)) return;
    window->SetAppIcons(icon_id);
    window->CenterOnOwner();
    ShowWindow(*window, SW_SHOW);
    UiToolkit::CWindowManagerUI::RunMessageLoop();
}

HANDLE TakeSingleInstance(const wchar_t* name) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        ExitProcess(0);
    }
    return mutex;
}

int ShowModalDialog(UiToolkit::CModalDialog* dialog, HWND owner) {
    const DWORD style =
        WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
    int result = 0;
    if (dialog->Create(owner, L"", style, 0, 0, 0, 0, 0)) {
        dialog->CenterOnOwner();
        result = dialog->RunModal();
    }
    delete dialog;
    return result;
}
