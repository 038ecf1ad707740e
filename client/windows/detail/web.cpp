#include "client/windows/detail/web.h"

#include <wchar.h>

#include "client/core/startup/program_folder.h"
#include "client/windows/detail/detail_rules.h"
#include "foundation/log/log.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSkinFile[] = L"detail.xml";
const wchar_t kBrowserName[] = L"ie";
std::wstring g_skin_for_tests;

const wchar_t* SkinToBuild() { return g_skin_for_tests.empty() ? kSkinFile : g_skin_for_tests.c_str(); }

UiToolkit::CControlUI* CALLBACK NamedBrowser(UiToolkit::CControlUI* control, LPVOID) {
    return control->GetName() == kBrowserName ? control : nullptr;
}

}  // namespace

HRESULT WebHandler::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info) {
        info->cbSize = sizeof(DOCHOSTUIINFO);  // 20 bytes in the 32-bit program
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    }
    return S_OK;
}

Web::Web(UiToolkit::CWindowManagerUI* manager, int soft_id)
    : soft_id_(soft_id), handler_(new WebHandler), browser_(nullptr) {
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(SkinToBuild(), nullptr, nullptr, manager);
    if (!root) {
        log_error("%s: %ls could not be built: the detail page shows no page", "Web::Web",
                  kSkinFile);
    } else if (!root->FindInterface(L"IContainer")) {
        log_error("%s: the root of %ls is not a container: the detail page shows no page",
                  "Web::Web", kSkinFile);
        delete root;
    } else {
        Add(root);
    }
}

Web::~Web() {
    // The browser goes with the children, after this body: it must not call
    // a handler that is gone by then.
    if (browser_) browser_->SetEventHandler(nullptr);
    delete handler_;
}

std::wstring Web::PageAddress(int soft_id) {
    static const std::wstring folder = ProgramFolder();
    return DetailRules::PageAddress(folder, soft_id);
}

void Web::SetSkinForTests(const wchar_t* skin) { g_skin_for_tests = skin ? skin : L""; }

UiToolkit::CWebBrowserUI* Web::FindBrowser() {
    // Each catalogue page holds a Web built from the same skin into the
    // one main window, so the name alone would find the first page's
    // browser: look in this Web's own controls.
    UiToolkit::CControlUI* found = Search(NamedBrowser, nullptr, UiToolkit::UIFIND_ALL);
    if (!found) {
        log_error("%s: %ls holds no control named \"%ls\": the detail page shows no page",
                  "Web::Init", kSkinFile, kBrowserName);
        return nullptr;
    }
    auto* browser = static_cast<UiToolkit::CWebBrowserUI*>(found->FindInterface(L"WebBrowser"));
    if (!browser) {
        log_error("%s: \"%ls\" in %ls is not a WebBrowser: the detail page shows no page",
                  "Web::Init", kBrowserName, kSkinFile);
    }
    return browser;
}

void Web::Init() {
    browser_ = FindBrowser();
    if (!browser_) return;
    if (browser_->GetEventHandler() != handler_) browser_->SetEventHandler(handler_);
    browser_->SetFixedWidth(kBrowserWidth);
    browser_->Navigate(L"about:blank");
    browser_->Navigate(L"about:blank");
    browser_->Navigate(PageAddress(soft_id_).c_str());
}

void Web::SetSoftId(int soft_id) {
    soft_id_ = soft_id;
    if (browser_) browser_->Navigate(PageAddress(soft_id_).c_str());
}
