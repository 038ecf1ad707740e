// The web browser control against the module's fake browser (navigation,
// events, the document's UI handler, key translation, release and
// re-creation) and against the system's browser (created and placed).
#include <exdispid.h>

#include "tests/uitoolkit/activex/activex_fixture.h"
#include "tests/uitoolkit/widgets/showcase_support.h"
#include "uitoolkit/activex/activex_guids.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace UiToolkit;
using namespace uitest;

namespace {

// Records every navigation event it is given.
class EventRecorder : public CWebBrowserEventHandler {
 public:
  void OnBeforeNavigate(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                        VARIANT_BOOL*& cancel) override {
    calls.push_back(L"before " + Text(url));
    if (cancelBefore) *cancel = VARIANT_TRUE;
  }
  void OnNavigateError(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*& status,
                       VARIANT_BOOL*&) override {
    calls.push_back(L"error " + Text(url) + L" " + std::to_wstring(status->lVal));
  }
  void OnNavigateComplete(IDispatch*, VARIANT*& url) override {
    calls.push_back(L"complete " + Text(url));
  }
  void OnNewWindow(IDispatch**, VARIANT_BOOL*&, DWORD flags, BSTR, BSTR url) override {
    calls.push_back(L"newwindow " + std::wstring(url ? url : L"") + L" " + std::to_wstring(flags));
  }
  void OnCommandStateChange(long command, VARIANT_BOOL enable) override {
    calls.push_back(L"command " + std::to_wstring(command) + L" " + std::to_wstring(enable));
  }
  static std::wstring Text(VARIANT* v) {
    return v && v->vt == VT_BSTR && v->bstrVal ? std::wstring(v->bstrVal) : L"?";
  }
  std::vector<std::wstring> calls;
  bool cancelBefore = false;
};

class WebBrowserTest : public ActiveXTest {
 protected:
  CWebBrowserUI* FakeBrowser(RECT rc = RECT{10, 10, 310, 190}) {
    return Host<CWebBrowserUI>(fake_activex::kClsidBrowser, rc, L"ie");
  }
  // A skin with one WebBrowser of the fake browser; `attributes` in order.
  CWebBrowserUI* Built(const std::wstring& attributes) {
    wchar_t clsid[64];
    ::StringFromGUID2(fake_activex::kClsidBrowser, clsid, 64);
    std::wstring xml = L"<HorizontalLayout><WebBrowser name=\"ie\" modulename=\"" + fake().Path() +
                       L"\" clsid=\"" + clsid + L"\" " + attributes + L"/></HorizontalLayout>";
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(xml.c_str(), nullptr, nullptr, &manager());
    if (!root) return nullptr;
    window().Add(root, RECT{0, 0, 400, 200});
    return static_cast<CWebBrowserUI*>(manager().FindControl(L"ie"));
  }
};

TEST_F(WebBrowserTest, AttributesApplyInOrderSoAutonaviAfterCreationDoesNotNavigate) {
  struct Case {
    const wchar_t* attributes;
    int navigations;
  };
  const Case cases[] = {
      {L"autonavi=\"true\" homepage=\"http://home.example/\" delaycreate=\"false\"", 1},
      {L"delaycreate=\"false\" autonavi=\"true\" homepage=\"http://home.example/\"", 0},
      {L"homepage=\"http://home.example/\" delaycreate=\"false\"", 0},
      {L"autonavi=\"yes\" homepage=\"http://home.example/\" delaycreate=\"false\"", 0},
      {L"autonavi=\"true\" delaycreate=\"false\"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.attributes, c.attributes + wcslen(c.attributes)));
    fake().Reset();
    CWebBrowserUI* web = Built(c.attributes);
    ASSERT_NE(nullptr, web);
    EXPECT_TRUE(web->IsCreated()) << "made while the attributes were read";
    EXPECT_EQ(c.navigations, fake().Count("Navigate2 http://home.example/"));
    EXPECT_EQ(1, fake().Count("Advise 1"));
    EXPECT_EQ(translatorsBefore_ + 1, manager().KeyTranslatorCount());
    window().Clear();
    EXPECT_EQ(1, fake().Count("Unadvise 1"));
    ExpectNothingLeft();
  }
}

TEST_F(WebBrowserTest, ReleaseUndoesEverythingAndTheNextLayoutMakesANewBrowser) {
  CWebBrowserUI* web = FakeBrowser();
  ASSERT_NE(nullptr, web->GetWebBrowser2());
  EXPECT_EQ(1, fake().OpenAdvises());
  EXPECT_EQ(translatorsBefore_ + 1, manager().KeyTranslatorCount());
  // The document got the control as its UI handler with the first page.
  VARIANT args[2];
  args[1].vt = VT_DISPATCH;
  args[1].pdispVal = nullptr;
  VARIANT url;
  url.vt = VT_BSTR;
  url.bstrVal = ::SysAllocString(L"about:blank");
  args[0].vt = VT_BYREF | VT_VARIANT;
  args[0].pvarVal = &url;
  DISPPARAMS complete = {args, nullptr, 2, 0};
  EXPECT_EQ(S_OK, web->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &complete,
                              nullptr, nullptr, nullptr));
  EXPECT_EQ(1, fake().Count("SetUIHandler set"));

  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    fake().Reset();
    web->ReleaseControl();
    EXPECT_FALSE(web->IsCreated());
    EXPECT_EQ(nullptr, web->GetWebBrowser2());
    EXPECT_EQ(1, fake().Count("Unadvise"));
    EXPECT_EQ(1, fake().Count("destroy browser"));
    EXPECT_EQ(0, fake().LiveObjects());
    EXPECT_EQ(0, fake().HeldHostRefs()) << "sink, UI handler and sites all given back";
    EXPECT_EQ(translatorsBefore_, manager().KeyTranslatorCount());
    EXPECT_EQ(hostObjectsBefore_, ActiveXLiveObjectCount());
    EXPECT_EQ(1UL, web->AddRef()) << "no COM reference to the control remains";
    web->Release();
    web->Navigate(L"http://nowhere.example/");
    EXPECT_EQ(0, fake().Count("Navigate2"));

    // Re-created at the next layout: one browser, one advise.
    web->SetBounds(RECT{10, 10, 310, 190});
    EXPECT_TRUE(web->IsCreated());
    EXPECT_EQ(1, fake().LiveObjects());
    EXPECT_EQ(1, fake().OpenAdvises());
    EXPECT_EQ(translatorsBefore_ + 1, manager().KeyTranslatorCount());
  }
  ::SysFreeString(url.bstrVal);
}

TEST_F(WebBrowserTest, NavigateSendsEachAddressOnce) {
  CWebBrowserUI* web = FakeBrowser();
  fake().Reset();
  web->Navigate(nullptr);
  web->Navigate(L"");
  web->Navigate(L"about:blank");
  web->Navigate(L"about:blank");
  web->Navigate(L"C:\\Program Files\\Kelvora\\data\\detail\\detail.html?soft_id=1001");
  EXPECT_EQ((std::vector<std::string>{
                "Navigate2 about:blank", "Navigate2 about:blank",
                "Navigate2 C:\\Program Files\\Kelvora\\data\\detail\\detail.html?soft_id=1001"}),
            fake().Lines("Navigate2"));
}

// Event arguments in IDispatch's order (last parameter first).
struct EventArgs {
  VARIANT url, frame, flags, post, headers, status;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  IDispatch* newWindow = nullptr;
  BSTR text;
  VARIANT v[7];
  EventArgs() {
    text = ::SysAllocString(L"http://a.example/");
    for (VARIANT* p : {&url, &frame, &flags, &post, &headers, &status}) ::VariantInit(p);
    url.vt = VT_BSTR;
    url.bstrVal = text;
    status.vt = VT_I4;
    status.lVal = 404;
  }
  ~EventArgs() { ::SysFreeString(text); }
  void Byref(int i, VARIANT* target) {
    v[i].vt = VT_BYREF | VT_VARIANT;
    v[i].pvarVal = target;
  }
  void Cancel(int i) {
    v[i].vt = VT_BYREF | VT_BOOL;
    v[i].pboolVal = &cancel;
  }
  void Disp(int i) {
    v[i].vt = VT_DISPATCH;
    v[i].pdispVal = nullptr;
  }
};

TEST_F(WebBrowserTest, InvokeHandsEventsToTheHandlerAndRefusesWhatItCannotRead) {
  CWebBrowserUI* web = FakeBrowser();
  EventRecorder recorder;
  struct Case {
    const char* what;
    DISPID id;
    bool nullIid;
    int argCount;  // how many of the event's arguments are passed (-1: all)
    bool withHandler;
    HRESULT expected;
    const wchar_t* call;  // what the handler saw, or none
  };
  const Case cases[] = {
      {"before navigate", DISPID_BEFORENAVIGATE2, true, -1, true, S_OK,
       L"before http://a.example/"},
      {"navigate error", DISPID_NAVIGATEERROR, true, -1, true, S_OK,
       L"error http://a.example/ 404"},
      {"new window", DISPID_NEWWINDOW3, true, -1, true, S_OK, L"newwindow http://a.example/ 6"},
      {"command state", DISPID_COMMANDSTATECHANGE, true, -1, true, S_OK, L"command 2 -1"},
      {"navigate complete", DISPID_NAVIGATECOMPLETE2, true, -1, true, S_OK,
       L"complete http://a.example/"},
      {"status text", DISPID_STATUSTEXTCHANGE, true, 0, true, S_OK, nullptr},
      {"unknown event", 999, true, 0, true, DISP_E_MEMBERNOTFOUND, nullptr},
      {"wrong interface id", DISPID_BEFORENAVIGATE2, false, -1, true, E_INVALIDARG, nullptr},
      {"before navigate, too few", DISPID_BEFORENAVIGATE2, true, 6, true, DISP_E_BADPARAMCOUNT,
       nullptr},
      {"navigate error, none", DISPID_NAVIGATEERROR, true, 0, true, DISP_E_BADPARAMCOUNT, nullptr},
      {"new window, too few", DISPID_NEWWINDOW3, true, 4, true, DISP_E_BADPARAMCOUNT, nullptr},
      {"command state, too few", DISPID_COMMANDSTATECHANGE, true, 1, true, DISP_E_BADPARAMCOUNT,
       nullptr},
      {"complete, too few", DISPID_NAVIGATECOMPLETE2, true, 1, true, DISP_E_BADPARAMCOUNT, nullptr},
      {"before navigate, no handler", DISPID_BEFORENAVIGATE2, true, -1, false, S_OK, nullptr},
      {"complete, no handler", DISPID_NAVIGATECOMPLETE2, true, -1, false, S_OK, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.calls.clear();
    web->SetEventHandler(c.withHandler ? &recorder : nullptr);
    EventArgs a;
    UINT all = 0;
    switch (c.id) {
      case DISPID_BEFORENAVIGATE2:  // pDisp, URL, Flags, Frame, PostData, Headers, Cancel
        all = 7;
        a.Cancel(0), a.Byref(1, &a.headers), a.Byref(2, &a.post), a.Byref(3, &a.frame);
        a.Byref(4, &a.flags), a.Byref(5, &a.url), a.Disp(6);
        break;
      case DISPID_NAVIGATEERROR:  // pDisp, URL, Frame, StatusCode, Cancel
        all = 5;
        a.Cancel(0), a.Byref(1, &a.status), a.Byref(2, &a.frame), a.Byref(3, &a.url), a.Disp(4);
        break;
      case DISPID_NEWWINDOW3:  // ppDisp, Cancel, Flags, UrlContext, Url
        all = 5;
        a.v[0].vt = VT_BSTR, a.v[0].bstrVal = a.text;
        a.v[1].vt = VT_BSTR, a.v[1].bstrVal = nullptr;
        a.v[2].vt = VT_I4, a.v[2].lVal = 6;
        a.Cancel(3);
        a.v[4].vt = VT_BYREF | VT_DISPATCH, a.v[4].ppdispVal = &a.newWindow;
        break;
      case DISPID_COMMANDSTATECHANGE:  // Command, Enable
        all = 2;
        a.v[0].vt = VT_BOOL, a.v[0].boolVal = VARIANT_TRUE;
        a.v[1].vt = VT_I4, a.v[1].lVal = 2;
        break;
      case DISPID_NAVIGATECOMPLETE2:  // pDisp, URL
        all = 2;
        a.Byref(0, &a.url), a.Disp(1);
        break;
    }
    UINT count = c.argCount < 0 ? all : static_cast<UINT>(c.argCount);
    // Too few: the last parameters are missing, so the first ones shift
    // down to index 0.
    DISPPARAMS params = {count ? a.v + (all - count) : nullptr, nullptr, count, 0};
    const IID& iid = c.nullIid ? IID_NULL : IID_IDispatch;
    EXPECT_EQ(c.expected,
              web->Invoke(c.id, iid, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    if (c.call)
      EXPECT_EQ(std::vector<std::wstring>{c.call}, recorder.calls);
    else
      EXPECT_TRUE(recorder.calls.empty());
  }

  // A handler may cancel through the address it is given; a mistyped
  // argument is refused.
  web->SetEventHandler(&recorder);
  recorder.cancelBefore = true;
  EventArgs a;
  a.Cancel(0), a.Byref(1, &a.headers), a.Byref(2, &a.post), a.Byref(3, &a.frame);
  a.Byref(4, &a.flags), a.Byref(5, &a.url), a.Disp(6);
  DISPPARAMS params = {a.v, nullptr, 7, 0};
  EXPECT_EQ(S_OK, web->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params,
                              nullptr, nullptr, nullptr));
  EXPECT_EQ(VARIANT_TRUE, a.cancel);
  a.v[0].vt = VT_BOOL;  // the cancel flag by value: nothing to write through
  EXPECT_EQ(DISP_E_TYPEMISMATCH, web->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD,
                                             &params, nullptr, nullptr, nullptr));
  a.v[0].vt = VT_BYREF | VT_BOOL;
  a.v[0].pboolVal = nullptr;
  EXPECT_EQ(DISP_E_TYPEMISMATCH, web->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD,
                                             &params, nullptr, nullptr, nullptr));
  web->SetEventHandler(nullptr);
}

TEST_F(WebBrowserTest, EveryCompletedNavigationInstallsTheUiHandlerOnTheDocument) {
  CWebBrowserUI* web = FakeBrowser();
  fake().Reset();
  for (int i = 0; i < 3; ++i) {
    EventArgs a;
    a.Byref(0, &a.url), a.Disp(1);
    DISPPARAMS params = {a.v, nullptr, 2, 0};
    web->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                nullptr);
  }
  EXPECT_EQ(3, fake().Count("SetUIHandler set"));
}

TEST_F(WebBrowserTest, KeysReachTheBrowserOnlyFromInsideIt) {
  CWebBrowserUI* web = FakeBrowser();
  HWND inside = ::FindWindowExW(web->GetHostWindow(), nullptr, fake_activex::kChildClass, nullptr);
  ASSERT_NE(nullptr, inside);
  MSG key = {inside, WM_KEYDOWN, VK_TAB, 1};

  ::SetFocus(inside);
  ASSERT_EQ(inside, ::GetFocus());
  fake().Reset();
  EXPECT_EQ(S_OK, web->TranslateKeyMessage(&key));
  EXPECT_EQ(1, fake().Count("TranslateAccelerator 0x0100"));
  // Through the manager's translators, as the message loop does.
  fake().Reset();
  EXPECT_TRUE(CWindowManagerUI::TranslateMessage(&key));
  EXPECT_EQ(1, fake().Count("TranslateAccelerator 0x0100"));
  fake().SetOption("accelerator_result", S_FALSE);
  EXPECT_EQ(S_FALSE, web->TranslateKeyMessage(&key));
  MSG mouse = {inside, WM_LBUTTONDOWN, 0, 0};
  fake().Reset();
  EXPECT_EQ(S_FALSE, web->TranslateKeyMessage(&mouse));
  EXPECT_EQ(0, fake().Count("TranslateAccelerator"));

  ::SetFocus(hwnd());
  fake().Reset();
  key.hwnd = hwnd();
  EXPECT_EQ(S_FALSE, web->TranslateKeyMessage(&key)) << "the focus is outside the browser";
  EXPECT_EQ(0, fake().Count("TranslateAccelerator"));

  web->ReleaseControl();
  EXPECT_EQ(E_NOTIMPL, web->TranslateKeyMessage(&key)) << "no browser";
}

TEST_F(WebBrowserTest, SystemBrowserIsCreatedAndPlaced) {
  // The system's WebBrowser (no module): created, in place, navigable.
  // Beside it, for whoever looks (UITOOLKIT_SHOWCASE_MS), a windowless
  // object drawn by the toolkit.
  Host<CActiveXUI>(fake_activex::kClsidWindowless, RECT{330, 30, 390, 180}, L"windowless");
  CWebBrowserUI* web = new CWebBrowserUI;
  EXPECT_TRUE(::IsEqualGUID(kClsidSystemWebBrowser, web->GetClsid()));
  web->SetName(L"system");
  web->SetHomePage(L"about:blank");
  web->SetAutoNavigate(true);
  window().Add(web, RECT{20, 30, 320, 180});
  ASSERT_TRUE(web->IsCreated());
  ASSERT_NE(nullptr, web->GetWebBrowser2());
  HWND host = web->GetHostWindow();
  ASSERT_NE(nullptr, host);
  EXPECT_EQ(hwnd(), ::GetParent(host));
  EXPECT_TRUE(SameRect(RECT{20, 30, 320, 180}, ChildRect(host)));
  HWND embedded = ::GetWindow(host, GW_CHILD);
  ASSERT_NE(nullptr, embedded) << "the browser's own window sits inside the host window";
  RECT inner;
  ::GetClientRect(embedded, &inner);
  EXPECT_EQ(300, inner.right);
  EXPECT_EQ(150, inner.bottom);

  ::InvalidateRect(hwnd(), nullptr, FALSE);
  HoldShowcaseIfAsked();

  web->SetBounds(RECT{0, 0, 200, 100});
  EXPECT_TRUE(SameRect(RECT{0, 0, 200, 100}, ChildRect(host)));
  web->Navigate(L"about:blank");
  Remove(web);
  EXPECT_FALSE(::IsWindow(host));
}

}  // namespace
