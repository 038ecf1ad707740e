// The browser control's COM surface without a browser: its identity, the
// document host's UI questions with and without a handler (outputs always
// written), script-error commands and the download service.
#include <docobj.h>
#include <downloadmgr.h>

#include "tests/uitoolkit/activex/activex_fixture.h"
#include "uitoolkit/activex/activex_guids.h"

using namespace UiToolkit;
using namespace uitest;

namespace {

class WebBrowserComTest : public ActiveXTest {};

TEST_F(WebBrowserComTest, QueryInterfaceAnswersItsPartsAndOneIUnknown) {
  CWebBrowserUI web;
  IUnknown* identity = nullptr;
  ASSERT_EQ(S_OK, static_cast<IDispatch*>(&web)->QueryInterface(
                      IID_IUnknown, reinterpret_cast<void**>(&identity)));
  struct Case {
    const char* what;
    IID iid;
    HRESULT expected;
  };
  const Case cases[] = {
      {"IUnknown", IID_IUnknown, S_OK},
      {"IDocHostUIHandler", IID_IDocHostUIHandler, S_OK},
      {"IDispatch", IID_IDispatch, S_OK},
      {"IServiceProvider", IID_IServiceProvider, S_OK},
      {"IOleCommandTarget", IID_IOleCommandTarget, S_OK},
      {"IOleObject", IID_IOleObject, E_NOINTERFACE},
      {"IOleClientSite", IID_IOleClientSite, E_NOINTERFACE},
  };
  IUnknown* parts[] = {static_cast<IDocHostUIHandler*>(&web), static_cast<IDispatch*>(&web),
                       static_cast<IServiceProvider*>(&web), static_cast<IOleCommandTarget*>(&web)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (IUnknown* part : parts) {
      IUnknown* got = reinterpret_cast<IUnknown*>(1);
      EXPECT_EQ(c.expected, part->QueryInterface(c.iid, reinterpret_cast<void**>(&got)));
      if (c.expected != S_OK) {
        EXPECT_EQ(nullptr, got);
        continue;
      }
      IUnknown* again = nullptr;
      ASSERT_EQ(S_OK, got->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)));
      EXPECT_EQ(identity, again) << "one IUnknown whichever part is asked";
      again->Release();
      got->Release();
    }
  }
  identity->Release();
  EXPECT_EQ(1UL, web.AddRef()) << "every reference given back";
  EXPECT_EQ(0UL, web.Release());
}

TEST_F(WebBrowserComTest, ScriptErrorsGoOnWithoutADialog) {
  CWebBrowserUI web;
  const GUID otherGroup = IID_IDispatch;
  struct Case {
    const char* what;
    const GUID* group;
    DWORD command;
    HRESULT expected;
    bool outWritten;
  };
  const Case cases[] = {
      {"script error", &kCgidDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, S_OK, true},
      {"other command", &kCgidDocHostCommandHandler, OLECMDID_SHOWMESSAGE, OLECMDERR_E_NOTSUPPORTED,
       false},
      {"other group", &otherGroup, OLECMDID_SHOWSCRIPTERROR, OLECMDERR_E_UNKNOWNGROUP, false},
      {"no group", nullptr, OLECMDID_SHOWSCRIPTERROR, OLECMDERR_E_UNKNOWNGROUP, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VARIANT out;
    ::VariantInit(&out);
    EXPECT_EQ(c.expected, web.Exec(c.group, c.command, 0, nullptr, &out));
    EXPECT_EQ(c.outWritten ? VT_BOOL : VT_EMPTY, out.vt);
    if (c.outWritten) {
      EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    }
  }
  EXPECT_EQ(S_OK,
            web.Exec(&kCgidDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
  OLECMD command = {OLECMDID_SHOWSCRIPTERROR, 0};
  EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED,
            web.QueryStatus(&kCgidDocHostCommandHandler, 1, &command, nullptr));
}

// Counts what reaches it; writes nothing unless asked to.
class Handler : public CWebBrowserEventHandler {
 public:
  HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD) override {
    ++calls;
    if (write) *key = const_cast<LPOLESTR>(L"Software\\Kelvora");
    return S_OK;
  }
  HRESULT GetDropTarget(IDropTarget*, IDropTarget** out) override {
    ++calls;
    if (write) *out = reinterpret_cast<IDropTarget*>(0x10);
    return S_FALSE;
  }
  HRESULT GetExternal(IDispatch** out) override {
    ++calls;
    if (write) *out = reinterpret_cast<IDispatch*>(0x20);
    return S_FALSE;
  }
  HRESULT TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    ++calls;
    if (write) *out = const_cast<LPWSTR>(L"http://translated.example/");
    return S_OK;
  }
  HRESULT FilterDataObject(IDataObject*, IDataObject** out) override {
    ++calls;
    if (write) *out = reinterpret_cast<IDataObject*>(0x30);
    return S_OK;
  }
  HRESULT OnDownload(IMoniker*, IBindCtx*, DWORD verb, LONG flags, BINDINFO*, LPCOLESTR headers,
                     LPCOLESTR, UINT codePage) override {
    ++calls;
    download = std::to_wstring(verb) + L" " + std::to_wstring(flags) + L" " +
               (headers ? headers : L"") + L" " + std::to_wstring(codePage);
    return E_ABORT;
  }
  int calls = 0;
  bool write = false;
  std::wstring download;
};

TEST_F(WebBrowserComTest, DocumentHostAnswersWithAndWithoutAHandlerAndAlwaysWritesOutputs) {
  CWebBrowserUI web;
  Handler handler;
  void* const kStale = reinterpret_cast<void*>(0x5A5A);
  struct Case {
    const char* what;
    bool withHandler;
    bool handlerWrites;
    HRESULT key, drop, external, url, data;  // expected results
    bool written;                            // outputs hold the handler's values (else null)
  };
  const Case cases[] = {
      {"no handler", false, false, E_NOTIMPL, S_FALSE, S_FALSE, E_NOTIMPL, E_NOTIMPL, false},
      {"handler that writes nothing", true, false, S_OK, S_FALSE, S_FALSE, S_OK, S_OK, false},
      {"handler that writes", true, true, S_OK, S_FALSE, S_FALSE, S_OK, S_OK, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    web.SetEventHandler(c.withHandler ? &handler : nullptr);
    handler.write = c.handlerWrites;
    handler.calls = 0;
    LPOLESTR key = static_cast<LPOLESTR>(kStale);
    IDropTarget* drop = static_cast<IDropTarget*>(kStale);
    IDispatch* external = static_cast<IDispatch*>(kStale);
    LPWSTR url = static_cast<LPWSTR>(kStale);
    IDataObject* data = static_cast<IDataObject*>(kStale);
    EXPECT_EQ(c.key, web.GetOptionKeyPath(&key, 0));
    EXPECT_EQ(c.drop, web.GetDropTarget(nullptr, &drop));
    EXPECT_EQ(c.external, web.GetExternal(&external));
    EXPECT_EQ(c.url, web.TranslateUrl(0, const_cast<LPWSTR>(L"http://a.example/"), &url));
    EXPECT_EQ(c.data, web.FilterDataObject(nullptr, &data));
    EXPECT_EQ(c.withHandler ? 5 : 0, handler.calls);
    if (c.written) {
      EXPECT_STREQ(L"Software\\Kelvora", key);
      EXPECT_EQ(reinterpret_cast<IDropTarget*>(0x10), drop);
      EXPECT_EQ(reinterpret_cast<IDispatch*>(0x20), external);
      EXPECT_STREQ(L"http://translated.example/", url);
      EXPECT_EQ(reinterpret_cast<IDataObject*>(0x30), data);
    } else {
      EXPECT_EQ(nullptr, key);
      EXPECT_EQ(nullptr, drop);
      EXPECT_EQ(nullptr, external);
      EXPECT_EQ(nullptr, url);
      EXPECT_EQ(nullptr, data);
    }
  }

  // The rest of the questions: the handler's default answers, or the
  // control's own without a handler.
  struct Other {
    const char* what;
    HRESULT withHandler;
    HRESULT without;
    HRESULT (*ask)(CWebBrowserUI&);
  };
  const Other others[] = {
      {"ShowContextMenu", S_OK, S_FALSE,
       [](CWebBrowserUI& w) {
         POINT pt = {1, 2};
         return w.ShowContextMenu(0, &pt, nullptr, nullptr);
       }},
      {"GetHostInfo", S_OK, E_NOTIMPL,
       [](CWebBrowserUI& w) {
         DOCHOSTUIINFO info = {sizeof(info)};
         return w.GetHostInfo(&info);
       }},
      {"ShowUI", S_FALSE, S_OK,
       [](CWebBrowserUI& w) { return w.ShowUI(0, nullptr, nullptr, nullptr, nullptr); }},
      {"HideUI", S_OK, S_OK, [](CWebBrowserUI& w) { return w.HideUI(); }},
      {"UpdateUI", S_OK, S_OK, [](CWebBrowserUI& w) { return w.UpdateUI(); }},
      {"EnableModeless", S_OK, E_NOTIMPL, [](CWebBrowserUI& w) { return w.EnableModeless(TRUE); }},
      {"OnDocWindowActivate", S_OK, E_NOTIMPL,
       [](CWebBrowserUI& w) { return w.OnDocWindowActivate(TRUE); }},
      {"OnFrameWindowActivate", S_OK, E_NOTIMPL,
       [](CWebBrowserUI& w) { return w.OnFrameWindowActivate(TRUE); }},
      {"ResizeBorder", S_OK, E_NOTIMPL,
       [](CWebBrowserUI& w) {
         RECT rc = {};
         return w.ResizeBorder(&rc, nullptr, TRUE);
       }},
      {"TranslateAccelerator", S_FALSE, S_FALSE,
       [](CWebBrowserUI& w) {
         MSG m = {};
         return w.TranslateAccelerator(&m, nullptr, 0);
       }},
  };
  CWebBrowserEventHandler defaults;
  for (const Other& o : others) {
    SCOPED_TRACE(o.what);
    web.SetEventHandler(&defaults);
    EXPECT_EQ(o.withHandler, o.ask(web));
    web.SetEventHandler(nullptr);
    EXPECT_EQ(o.without, o.ask(web));
  }
  EXPECT_EQ(E_POINTER, web.GetExternal(nullptr));
  EXPECT_EQ(E_POINTER, web.TranslateUrl(0, nullptr, nullptr));
}

TEST_F(WebBrowserComTest, QueryServiceOffersADownloadManagerThatOutlivesNoControl) {
  Handler handler;
  IDownloadManager* kept = nullptr;
  {
    CWebBrowserUI web;
    web.SetEventHandler(&handler);
    struct Case {
      const char* what;
      GUID service;
      IID iid;
      HRESULT expected;
    };
    const Case cases[] = {
        {"download manager", kIidDownloadManager, kIidDownloadManager, S_OK},
        {"other interface", kIidDownloadManager, IID_IUnknown, E_NOINTERFACE},
        {"other service", IID_IUnknown, kIidDownloadManager, E_NOINTERFACE},
        {"neither", IID_IDispatch, IID_IDispatch, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      void* out = reinterpret_cast<void*>(1);
      EXPECT_EQ(c.expected, web.QueryService(c.service, c.iid, &out));
      if (c.expected != S_OK) {
        EXPECT_EQ(nullptr, out);
        continue;
      }
      kept = static_cast<IDownloadManager*>(out);
    }
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(E_ABORT, kept->Download(nullptr, nullptr, 1, 2, nullptr, L"X-H: 1", nullptr, 65001))
        << "the handler's OnDownload decides";
    EXPECT_EQ(L"1 2 X-H: 1 65001", handler.download);
    web.SetEventHandler(nullptr);
    EXPECT_EQ(S_OK, kept->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0));
  }
  // The browser may keep it past the control.
  handler.calls = 0;
  EXPECT_EQ(E_UNEXPECTED, kept->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(0, handler.calls);
  EXPECT_GT(ActiveXLiveObjectCount(), hostObjectsBefore_);
  kept->Release();
}

}  // namespace
