// Skin attributes of the ActiveX host and the browser: CLSID texts, the
// skin tags, and bad values (a log line, never a crash, no earlier object
// replaced).
#include <fstream>
#include <sstream>

#include "foundation/log/log.h"
#include "tests/support/test_support.h"
#include "tests/uitoolkit/activex/activex_fixture.h"
#include "uitoolkit/activex/activex_guids.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace UiToolkit;
using namespace uitest;

namespace {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[64];
  ::StringFromGUID2(guid, text, 64);
  return text;
}

TEST(ClsidText, BracedGuidsAndProgIdsNameTheSameClass) {
  ::CoInitialize(nullptr);
  const std::wstring braced = GuidText(kClsidSystemWebBrowser);
  const std::wstring tooLong(150, L'A');
  struct Case {
    const char* what;
    const wchar_t* text;
    CLSID expected;
  };
  const Case cases[] = {
      {"braced", braced.c_str(), kClsidSystemWebBrowser},
      {"braced, lower case", L"{8856f961-340a-11d0-a96b-00c04fd705a2}", kClsidSystemWebBrowser},
      {"ProgID", L"Shell.Explorer.2", kClsidSystemWebBrowser},
      {"longer than the 99 characters read", tooLong.c_str(), GUID_NULL},
      {"unknown ProgID", L"No.Such.Class", GUID_NULL},
      {"broken GUID", L"{8856F961-340A-11D0-A96B}", GUID_NULL},
      {"empty", L"", GUID_NULL},
      {"none", nullptr, GUID_NULL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(GuidText(c.expected), GuidText(ParseClsidText(c.text)));
  }
}

// The log written while a test runs.
class LoggedTest : public ActiveXTest {
 protected:
  void SetUp() override {
    ActiveXTest::SetUp();
    folder_ = test_support::MakeTempDir(L"activex_log");
    path_ = std::string(folder_.begin(), folder_.end()) + "\\test.log";
    ASSERT_TRUE(log_open(path_.c_str()));
  }
  void TearDown() override {
    log_close();
    test_support::RemoveTree(folder_);
    ActiveXTest::TearDown();
  }
  std::string Log() {
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::wstring folder_;
  std::string path_;
};

TEST_F(LoggedTest, SkinTagsMakeTheControlsAndBadValuesAreLoggedNotFatal) {
  const std::wstring module = fake().Path();
  const std::wstring windowed = GuidText(fake_activex::kClsidWindowed);
  struct Case {
    const char* what;
    std::wstring xml;
    const wchar_t* expectedClass;
    bool created;             // an object of the module made
    const char* logFragment;  // in the log, or none
  };
  const Case cases[] = {
      {"ActiveX of the module",
       L"<ActiveX name=\"x\" modulename=\"" + module + L"\" clsid=\"" + windowed +
           L"\" delaycreate=\"false\"/>",
       L"ActiveXUI", true, nullptr},
      {"WebBrowser of the module",
       L"<WebBrowser name=\"x\" modulename=\"" + module + L"\" clsid=\"" +
           GuidText(fake_activex::kClsidBrowser) + L"\" delaycreate=\"false\" autonavi=\"true\"/>",
       L"WebBrowserUI", true, nullptr},
      {"broken clsid", L"<ActiveX name=\"x\" clsid=\"{oops\" delaycreate=\"false\"/>", L"ActiveXUI",
       false, "names no class"},
      {"unknown ProgID", L"<ActiveX name=\"x\" clsid=\"Nothing.Here.1\" delaycreate=\"false\"/>",
       L"ActiveXUI", false, "names no class"},
      {"missing module, unregistered class",
       L"<ActiveX name=\"x\" modulename=\"C:\\nowhere\\none.dll\" clsid=\"" + windowed +
           L"\" delaycreate=\"false\"/>",
       L"ActiveXUI", false, "not loaded"},
      {"a bad clsid after a good one keeps the first object",
       L"<ActiveX name=\"x\" modulename=\"" + module + L"\" clsid=\"" + windowed +
           L"\" delaycreate=\"false\" clsid=\"Nothing.Here.1\"/>",
       L"ActiveXUI", true, "names no class"},
      {"delaycreate other than true or false is off",
       L"<ActiveX name=\"x\" modulename=\"" + module + L"\" clsid=\"" + windowed +
           L"\" delaycreate=\"yes\"/>",
       L"ActiveXUI", true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake().Reset();
    std::wstring xml = L"<HorizontalLayout>" + c.xml + L"</HorizontalLayout>";
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(xml.c_str(), nullptr, nullptr, &manager());
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(c.created ? 1 : 0, fake().LiveObjects()) << "before any layout";
    window().Add(root, RECT{0, 0, 400, 200});
    CControlUI* control = manager().FindControl(L"x");
    ASSERT_NE(nullptr, control);
    EXPECT_STREQ(c.expectedClass, control->ClassName());
    EXPECT_NE(nullptr, control->FindInterface(L"ActiveX"));
    EXPECT_EQ(std::wstring(c.expectedClass) == L"WebBrowserUI",
              control->FindInterface(L"WebBrowser") != nullptr);
    EXPECT_EQ(c.created ? 1 : 0, fake().LiveObjects());
    if (c.logFragment) {
      EXPECT_NE(std::string::npos, Log().find(c.logFragment)) << Log();
    }
    window().Clear();
    EXPECT_EQ(0, fake().LiveObjects());
  }
}

}  // namespace
