// The ActiveX host's life cycle against recording objects: creation and
// activation, re-creation and destruction (every reference returned),
// windowless drawing, the windowed child's place and visibility, the
// window context, and a site that outlives its control.
#include "tests/uitoolkit/activex/activex_fixture.h"

using namespace UiToolkit;
using namespace uitest;

namespace {

struct KindCase {
  const char* kind;
  CLSID clsid;
  bool windowless;
};

const KindCase kKinds[] = {
    {"windowless", fake_activex::kClsidWindowless, true},
    {"windowed", fake_activex::kClsidWindowed, false},
    {"browser", fake_activex::kClsidBrowser, false},
};

class ActiveXHostTest : public ActiveXTest {};

// The record without the placement lines.
std::vector<std::string> CallsBesidesPlacement() {
  std::vector<std::string> kept;
  for (const std::string& line : FakeModule::Get().Lines())
    if (line.rfind("SetObjectRects", 0) != 0 && line.rfind("SetExtent", 0) != 0)
      kept.push_back(line);
  return kept;
}

TEST_F(ActiveXHostTest, CreatedAtFirstLayoutRecreatedAndDestroyedReturningEveryReference) {
  struct Case {
    KindCase k;
    long misc;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {kKinds[0],
       0,
       {"create windowless", "InitNew", "SetClientSite set", "SetHostNames UIActiveX", "DoVerb -5",
        "LockRunning lock", "activate windowless", "SetSite set"}},
      {kKinds[1],
       0,
       {"create windowed", "InitNew", "SetClientSite set", "SetHostNames UIActiveX", "DoVerb -5",
        "LockRunning lock", "activate windowed", "SetSite set"}},
      {kKinds[2],
       0,
       {"create browser", "InitNew", "SetClientSite set", "SetHostNames UIActiveX", "DoVerb -5",
        "LockRunning lock", "activate windowed", "SetSite set"}},
      {kKinds[1],
       OLEMISC_SETCLIENTSITEFIRST,
       {"create windowed", "SetClientSite set", "InitNew", "SetHostNames UIActiveX", "DoVerb -5",
        "LockRunning lock", "activate windowed", "SetSite set"}},
      {kKinds[1],
       OLEMISC_INVISIBLEATRUNTIME,
       {"create windowed", "InitNew", "SetClientSite set", "SetHostNames UIActiveX",
        "SetSite set"}},
  };
  for (const Case& c : cases) {
    const KindCase& k = c.k;
    SCOPED_TRACE(std::string(k.kind) + " misc " + std::to_string(c.misc));
    fake().Reset();
    fake().SetOption("misc_status", c.misc);
    notes_.entries.clear();
    CActiveXUI* control = new CActiveXUI;
    control->SetName(L"ax");
    control->SetModuleName(fake().Path().c_str());
    control->SetClsid(k.clsid);
    EXPECT_EQ(0, fake().LiveObjects()) << "delayed: nothing before the first layout";
    window().Add(control, RECT{20, 20, 220, 120});
    EXPECT_TRUE(control->IsCreated());
    EXPECT_EQ(1, fake().LiveObjects());
    EXPECT_EQ(c.calls, CallsBesidesPlacement());
    EXPECT_EQ(1, notes_.Count(L"ax:showactivex"));
    if (c.misc & OLEMISC_INVISIBLEATRUNTIME) {
      EXPECT_EQ(nullptr, control->GetHostWindow());
    } else if (k.windowless) {
      EXPECT_EQ(hwnd(), control->GetHostWindow());
      EXPECT_GE(fake().Count("SetObjectRects 20,20,220,120"), 1);
    } else {
      EXPECT_EQ(hwnd(), ::GetParent(control->GetHostWindow()));
      EXPECT_GE(fake().Count("SetObjectRects 0,0,200,100"), 1);
    }

    // A new CLSID (here the same one again) is created at the next layout;
    // the earlier object is closed and gone first.
    fake().Reset();
    fake().SetOption("misc_status", c.misc);
    control->SetClsid(k.clsid);
    control->SetBounds(RECT{20, 20, 220, 120});
    EXPECT_EQ(1, fake().Count("destroy"));
    EXPECT_EQ(1, fake().Count("create"));
    EXPECT_EQ(1, fake().LiveObjects());
    EXPECT_EQ(1, fake().Count("Close"));
    EXPECT_EQ(1, fake().Count("SetClientSite none"));
    EXPECT_EQ(1, fake().Count("SetSite none"));
    const bool activated = !(c.misc & OLEMISC_INVISIBLEATRUNTIME);
    EXPECT_EQ(activated ? 1 : 0, fake().Count("LockRunning unlock")) << "the running lock ends";

    Remove(control);
    EXPECT_EQ(2, fake().Count("destroy")) << "the second object went with the control";
    ExpectNothingLeft();
  }
}

TEST_F(ActiveXHostTest, WithoutDelayedCreationTheObjectIsMadeWhenTheAttributeIsRead) {
  CActiveXUI* control = new CActiveXUI;
  window().Add(control, RECT{0, 0, 50, 50});
  fake().Reset();
  control->ApplyAttribute(L"modulename", fake().Path().c_str());
  control->ApplyAttribute(L"delaycreate", L"false");
  EXPECT_EQ(0, fake().LiveObjects()) << "no CLSID yet";
  wchar_t text[64];
  ::StringFromGUID2(fake_activex::kClsidWindowed, text, 64);
  control->ApplyAttribute(L"clsid", text);
  EXPECT_EQ(1, fake().LiveObjects());
  EXPECT_TRUE(control->IsCreated());
}

TEST_F(ActiveXHostTest, CreationFailuresLeaveNoObjectAndAreNotRetried) {
  struct Case {
    const char* what;
    const wchar_t* module;
    CLSID clsid;
    bool failInitNew;
  };
  const Case cases[] = {
      {"InitNew refused", nullptr, fake_activex::kClsidWindowed, true},
      // The module lacks the class; COM does not know it either.
      {"unknown class", nullptr, {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}}, false},
      {"module missing", L"C:\\no\\such\\module.dll", fake_activex::kClsidWindowed, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake().Reset();
    fake().SetOption("fail_initnew", c.failInitNew ? 1 : 0);
    CActiveXUI* control = new CActiveXUI;
    control->SetModuleName(c.module ? c.module : fake().Path().c_str());
    control->SetClsid(c.clsid);
    window().Add(control, RECT{0, 0, 50, 50});
    EXPECT_TRUE(control->IsCreated());
    IUnknown* object = nullptr;
    EXPECT_EQ(E_FAIL, control->GetControl(IID_IUnknown, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(nullptr, control->GetHostWindow());
    EXPECT_EQ(0, fake().LiveObjects());
    int creates = fake().Count("create");
    control->SetBounds(RECT{0, 0, 60, 60});
    EXPECT_EQ(creates, fake().Count("create")) << "no retry at the next layout";
    EXPECT_FALSE(control->CreateControl());
    Remove(control);
  }
}

TEST_F(ActiveXHostTest, WindowlessObjectIsDrawnIntoTheWindow) {
  Host<CActiveXUI>(fake_activex::kClsidWindowless, RECT{100, 50, 200, 150});
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  ::UpdateWindow(hwnd());
  EXPECT_GE(fake().Count("Draw 100,50,200,150"), 1);
  HDC dc = ::GetDC(hwnd());
  EXPECT_EQ(fake_activex::kDrawColour, ::GetPixel(dc, 150, 100)) << "inside: what the object drew";
  EXPECT_NE(fake_activex::kDrawColour, ::GetPixel(dc, 250, 100)) << "outside its bounds";
  ::ReleaseDC(hwnd(), dc);
}

TEST_F(ActiveXHostTest, WindowedChildFollowsBoundsAndVisibility) {
  for (const KindCase& k : kKinds) {
    if (k.windowless) continue;
    SCOPED_TRACE(k.kind);
    CActiveXUI* control = Host<CActiveXUI>(k.clsid, RECT{30, 40, 130, 90});
    HWND child = control->GetHostWindow();
    ASSERT_NE(nullptr, child);
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    EXPECT_STREQ(L"ActiveXWnd", cls);
    EXPECT_TRUE(SameRect(RECT{30, 40, 130, 90}, ChildRect(child)));
    HWND own = ::FindWindowExW(child, nullptr, fake_activex::kChildClass, nullptr);
    ASSERT_NE(nullptr, own) << "the object's window lives inside the host's child";

    struct Step {
      RECT bounds;
      bool visible;
      bool inheritedVisible;
    };
    const Step steps[] = {
        {{50, 20, 250, 170}, true, true}, {{50, 20, 250, 170}, false, true},
        {{60, 30, 160, 80}, true, true},  {{60, 30, 160, 80}, true, false},
        {{0, 0, 400, 200}, true, true},
    };
    for (const Step& s : steps) {
      fake().Reset();
      control->SetBounds(s.bounds);
      control->SetVisible(s.visible);
      control->SetInheritedVisible(s.inheritedVisible);
      EXPECT_TRUE(SameRect(s.bounds, ChildRect(child)));
      EXPECT_EQ(s.visible && s.inheritedVisible, ::IsWindowVisible(child) != FALSE);
      const int w = s.bounds.right - s.bounds.left, h = s.bounds.bottom - s.bounds.top;
      RECT inner;
      ::GetClientRect(own, &inner);
      EXPECT_EQ(w, inner.right);
      EXPECT_EQ(h, inner.bottom);
      // The extent goes in HIMETRIC at the screen's resolution.
      HDC screen = ::GetDC(nullptr);
      SIZEL himetric = PixelsToHimetric(SIZE{w, h}, ::GetDeviceCaps(screen, LOGPIXELSX),
                                        ::GetDeviceCaps(screen, LOGPIXELSY));
      ::ReleaseDC(nullptr, screen);
      EXPECT_EQ(1, fake().Count("SetExtent " + std::to_string(himetric.cx) + "," +
                                std::to_string(himetric.cy)));
    }
    Remove(control);
    EXPECT_FALSE(::IsWindow(child)) << "the child window goes with the control";
  }
}

TEST_F(ActiveXHostTest, HiddenControlCreatesItsChildHidden) {
  CActiveXUI* control = new CActiveXUI;
  control->SetModuleName(fake().Path().c_str());
  control->SetClsid(fake_activex::kClsidWindowed);
  control->SetVisible(false);
  window().Add(control, RECT{10, 10, 60, 60});
  ASSERT_NE(nullptr, control->GetHostWindow());
  EXPECT_FALSE(::IsWindowVisible(control->GetHostWindow()));
}

// Asks the hosted object for its client site's in-place part.
IOleInPlaceSiteWindowless* SiteOf(CActiveXUI* control) {
  IOleObject* object = nullptr;
  if (FAILED(control->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object))))
    return nullptr;
  IOleClientSite* client = nullptr;
  object->GetClientSite(&client);
  object->Release();
  if (!client) return nullptr;
  IOleInPlaceSiteWindowless* site = nullptr;
  client->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&site));
  client->Release();
  return site;
}

TEST_F(ActiveXHostTest, WindowContextCallsShareOneAcceleratorTable) {
  for (const KindCase& k : kKinds) {
    SCOPED_TRACE(k.kind);
    CActiveXUI* control = Host<CActiveXUI>(k.clsid, RECT{10, 20, 110, 70});
    IOleInPlaceSiteWindowless* site = SiteOf(control);
    ASSERT_NE(nullptr, site);
    OLEINPLACEFRAMEINFO info[2] = {};
    IOleInPlaceFrame* frame[2] = {};
    for (int i = 0; i < 2; ++i) {
      IOleInPlaceUIWindow* doc = reinterpret_cast<IOleInPlaceUIWindow*>(1);
      RECT pos = {}, clip = {};
      info[i].cb = sizeof(info[i]);
      ASSERT_EQ(S_OK, site->GetWindowContext(&frame[i], &doc, &pos, &clip, &info[i]));
      EXPECT_EQ(nullptr, doc);
      RECT expected = k.windowless ? RECT{10, 20, 110, 70} : RECT{0, 0, 100, 50};
      EXPECT_TRUE(SameRect(expected, pos));
      EXPECT_TRUE(SameRect(expected, clip));
      EXPECT_EQ(hwnd(), info[i].hwndFrame);
      EXPECT_EQ(1u, info[i].cAccelEntries);
      EXPECT_FALSE(info[i].fMDIApp);
      HWND frameWindow = nullptr;
      EXPECT_EQ(S_OK, frame[i]->GetWindow(&frameWindow));
      EXPECT_EQ(hwnd(), frameWindow);
      EXPECT_EQ(INPLACE_E_NOTOOLSPACE, frame[i]->RequestBorderSpace(nullptr));
    }
    EXPECT_NE(nullptr, info[0].haccel);
    EXPECT_EQ(info[0].haccel, info[1].haccel);
    EXPECT_EQ(E_POINTER, site->GetWindowContext(&frame[0], nullptr, nullptr, nullptr, &info[0]));

    // A frame kept after the control is gone reaches no freed control.
    IOleInPlaceFrame* kept = frame[0];
    frame[1]->Release();
    site->Release();
    Remove(control);
    HWND frameWindow = reinterpret_cast<HWND>(1);
    EXPECT_EQ(E_UNEXPECTED, kept->GetWindow(&frameWindow));
    EXPECT_EQ(nullptr, frameWindow);
    EXPECT_EQ(1, ::CopyAcceleratorTableW(info[0].haccel, nullptr, 0)) << "the site still lives";
    kept->Release();
    EXPECT_EQ(0, ::CopyAcceleratorTableW(info[0].haccel, nullptr, 0)) << "destroyed with the site";
  }
}

TEST_F(ActiveXHostTest, SiteKeptAfterReleaseAnswersUnexpectedAndIsFreedLast) {
  CActiveXUI* control = Host<CActiveXUI>(fake_activex::kClsidWindowless, RECT{0, 0, 80, 80});
  IOleInPlaceSiteWindowless* site = SiteOf(control);
  ASSERT_NE(nullptr, site);
  IOleClientSite* client = nullptr;
  ASSERT_EQ(S_OK, site->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&client)));
  IOleContainer* container = nullptr;
  ASSERT_EQ(S_OK, site->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(&container)));
  IOleControlSite* controlSite = nullptr;
  ASSERT_EQ(S_OK,
            site->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&controlSite)));

  // While the control lives.
  HWND window = nullptr;
  EXPECT_EQ(S_OK, site->GetWindow(&window));
  EXPECT_EQ(hwnd(), window);
  EXPECT_EQ(S_FALSE, site->GetFocus());
  EXPECT_EQ(S_FALSE, site->GetCapture());
  EXPECT_EQ(S_OK, site->SetFocus(TRUE));
  EXPECT_EQ(control, manager().GetFocusControl());
  EXPECT_EQ(S_OK, site->GetFocus());
  IEnumUnknown* objects = nullptr;
  ASSERT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, &objects));
  IUnknown* got[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_OK, objects->Next(1, got, &fetched));
  EXPECT_EQ(1u, fetched);
  EXPECT_EQ(S_FALSE, objects->Next(1, got + 1, &fetched));
  EXPECT_EQ(0u, fetched);
  objects->Reset();
  EXPECT_EQ(S_OK, objects->Next(1, got + 1, &fetched));
  EXPECT_EQ(got[0], got[1]);
  got[0]->Release();
  got[1]->Release();
  objects->Release();
  HDC dc = nullptr;
  EXPECT_EQ(S_OK, site->GetDC(nullptr, OLEDC_PAINTBKGND, &dc));
  EXPECT_EQ(S_OK, site->ReleaseDC(dc));
  LRESULT result = 7;
  EXPECT_EQ(S_OK, site->OnDefWindowMessage(WM_NULL, 0, 0, &result));

  Remove(control);
  EXPECT_EQ(0, fake().LiveObjects()) << "the object went with the control";
  EXPECT_EQ(0, fake().HeldHostRefs());

  // The site outlives its control: nothing reaches the freed control.
  struct Call {
    const char* what;
    HRESULT expected;
    HRESULT got;
  };
  window = reinterpret_cast<HWND>(1);
  dc = reinterpret_cast<HDC>(1);
  IDispatch* extended = reinterpret_cast<IDispatch*>(1);
  objects = reinterpret_cast<IEnumUnknown*>(1);
  const Call calls[] = {
      {"GetWindow", E_UNEXPECTED, site->GetWindow(&window)},
      {"GetWindow(null)", E_POINTER, site->GetWindow(nullptr)},
      {"GetDC", E_UNEXPECTED, site->GetDC(nullptr, 0, &dc)},
      {"GetDC(null)", E_POINTER, site->GetDC(nullptr, 0, nullptr)},
      {"ReleaseDC", E_UNEXPECTED, site->ReleaseDC(nullptr)},
      {"InvalidateRect", E_UNEXPECTED, site->InvalidateRect(nullptr, FALSE)},
      {"GetCapture", E_UNEXPECTED, site->GetCapture()},
      {"SetCapture", E_UNEXPECTED, site->SetCapture(TRUE)},
      {"GetFocus", E_UNEXPECTED, site->GetFocus()},
      {"SetFocus", E_UNEXPECTED, site->SetFocus(TRUE)},
      {"OnInPlaceActivateEx", E_UNEXPECTED,
       site->OnInPlaceActivateEx(nullptr, ACTIVATE_WINDOWLESS)},
      {"ShowObject", E_UNEXPECTED, client->ShowObject()},
      {"GetExtendedControl", E_UNEXPECTED, controlSite->GetExtendedControl(&extended)},
      {"EnumObjects", E_UNEXPECTED, container->EnumObjects(0, &objects)},
      {"EnumObjects(null)", E_POINTER, container->EnumObjects(0, nullptr)},
  };
  for (const Call& c : calls) EXPECT_EQ(c.expected, c.got) << c.what;
  EXPECT_EQ(nullptr, window);
  EXPECT_EQ(nullptr, dc);
  EXPECT_EQ(nullptr, extended);
  EXPECT_EQ(nullptr, objects);

  EXPECT_GT(ActiveXLiveObjectCount(), hostObjectsBefore_) << "held by this test";
  controlSite->Release();
  container->Release();
  client->Release();
  site->Release();
}

TEST_F(ActiveXHostTest, SiteAnswersItsInterfacesWithOneIdentity) {
  CActiveXUI* control = Host<CActiveXUI>(fake_activex::kClsidWindowless, RECT{0, 0, 40, 40});
  IOleInPlaceSiteWindowless* site = SiteOf(control);
  ASSERT_NE(nullptr, site);
  IUnknown* identity = nullptr;
  ASSERT_EQ(S_OK, site->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
  const IID answered[] = {IID_IOleClientSite,    IID_IOleInPlaceSiteWindowless,
                          IID_IOleInPlaceSiteEx, IID_IOleInPlaceSite,
                          IID_IOleWindow,        IID_IOleControlSite,
                          IID_IOleContainer,     IID_IObjectWithSite};
  for (const IID& iid : answered) {
    IUnknown* part = nullptr;
    ASSERT_EQ(S_OK, site->QueryInterface(iid, reinterpret_cast<void**>(&part)));
    IUnknown* again = nullptr;
    ASSERT_EQ(S_OK, part->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)));
    EXPECT_EQ(identity, again);
    again->Release();
    part->Release();
  }
  IUnknown* none = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(E_NOINTERFACE, site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&none)));
  EXPECT_EQ(nullptr, none);
  identity->Release();
  site->Release();
}

}  // namespace
