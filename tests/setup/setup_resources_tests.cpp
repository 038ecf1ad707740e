// What the built setup programs carry: manifest, icon, version texts, the
// install package, and skins whose documents build and hold every named
// control the code looks for, of the kind it expects.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/rich_edit.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/skin/skin_builder.h"
#include "uitoolkit/zip/ui_zip_reader.h"

using namespace UiToolkit;

namespace {

std::wstring SetupProgram(const char* name) {
    return test_support::WinePath(std::string(SETUP_BIN_DIR) + "/" + name);
}

// A built program, copied under another name for reading its resources:
// Wine answers resource loads of a file named "uninstaller.exe" from its own
// program of that name.
class ProgramCopy {
 public:
    explicit ProgramCopy(const char* name) : dir_(test_support::MakeTempDir(L"res")) {
        path_ = dir_ + L"\\copy_of_" + std::wstring(name, name + strlen(name));
        CopyFileW(SetupProgram(name).c_str(), path_.c_str(), FALSE);
    }
    ~ProgramCopy() { test_support::RemoveTree(dir_); }
    const std::wstring& path() const { return path_; }

 private:
    std::wstring dir_;
    std::wstring path_;
};

// A program loaded for its resources only.
class ProgramResources {
 public:
    explicit ProgramResources(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramResources() {
        if (module_) FreeLibrary(module_);
    }
    bool ok() const { return module_ != nullptr; }
    // The bytes of a resource; empty when it is missing.
    std::string Bytes(const wchar_t* type, const wchar_t* name) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return std::string();
        HGLOBAL loaded = LoadResource(module_, found);
        const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        return data ? std::string(data, SizeofResource(module_, found)) : std::string();
    }

 private:
    HMODULE module_;
};

std::wstring VersionText(const std::wstring& path, const wchar_t* name, VS_FIXEDFILEINFO* fixed) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) return L"";
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return L"";
    void* value = nullptr;
    UINT length = 0;
    if (fixed && VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof *fixed)
        *fixed = *static_cast<VS_FIXEDFILEINFO*>(value);
    struct Translation {
        WORD language, codepage;
    }* translation = nullptr;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation)
        return L"";
    wchar_t key[128];
    swprintf(key, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->codepage, name);
    if (!VerQueryValueW(data.data(), key, &value, &length) || length == 0) return L"";
    return static_cast<const wchar_t*>(value);
}

WORD MachineOf(const std::string& image) {
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) return 0;
    const LONG offset = *reinterpret_cast<const LONG*>(image.data() + 0x3C);
    if (offset < 0 || static_cast<size_t>(offset) + 6 > image.size()) return 0;
    return *reinterpret_cast<const WORD*>(image.data() + offset + 4);
}

WORD OwnMachine() {
    const char* base = reinterpret_cast<const char*>(GetModuleHandleW(nullptr));
    const LONG offset = *reinterpret_cast<const LONG*>(base + 0x3C);
    return *reinterpret_cast<const WORD*>(base + offset + 4);
}

struct ProgramCase {
    const char* file;
    const wchar_t* description;
    int icon_id;
    int skin_id;
};

const ProgramCase kPrograms[] = {
    {"installer.exe", L"Kelvora安装程序", 103, 105},
    {"uninstaller.exe", L"Kelvora卸载程序", 101, 106},
};

TEST(SetupResources, ManifestIconAndVersionOfBothPrograms) {
    for (const auto& p : kPrograms) {
        ProgramCopy copy(p.file);
        const std::wstring& path = copy.path();
        ProgramResources resources(path);
        ASSERT_TRUE(resources.ok()) << p.file;
        const std::string manifest = resources.Bytes(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
        EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\"")) << p.file;
        std::smatch controls;
        EXPECT_TRUE(std::regex_search(manifest, controls,
                                      std::regex("name=\"Microsoft\\.Windows\\.Common-Controls\"\\s+"
                                                 "version=\"6\\.0\\.0\\.0\"")))
            << p.file;
        EXPECT_FALSE(resources.Bytes(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(p.icon_id)).empty())
            << p.file;
        VS_FIXEDFILEINFO fixed = {};
        EXPECT_EQ(p.description, VersionText(path, L"FileDescription", &fixed)) << p.file;
        EXPECT_EQ(L"1.0.2.7", VersionText(path, L"FileVersion", nullptr)) << p.file;
        EXPECT_EQ(0x00010000u, fixed.dwFileVersionMS) << p.file;
        EXPECT_EQ(0x00020007u, fixed.dwFileVersionLS) << p.file;
    }
}

TEST(SetupResources, TheSetupProgramCarriesThePackageOfItsFlavour) {
    ProgramResources installer(SetupProgram("installer.exe"));
    ASSERT_TRUE(installer.ok());
    const std::string package = installer.Bytes(L"BIN_ZIP", MAKEINTRESOURCEW(104));
    ASSERT_FALSE(package.empty());
    EXPECT_EQ(OwnMachine(), MachineOf(package));
    EXPECT_NE(std::string::npos, package.find("NullsoftInst"));
    std::string built;
    ASSERT_TRUE(test_support::ReadFileBytes(
        test_support::WinePath(std::string(SETUP_BIN_DIR) + "/kelvora_package.exe"), &built));
    EXPECT_EQ(built.size(), package.size());
    EXPECT_TRUE(built == package);
    // The removal program that the package places is the one that was built.
    std::string in_dist, in_setup;
    ASSERT_TRUE(test_support::ReadFileBytes(
        test_support::WinePath(test_support::Env("VANTREL_TEST_DIST") + "/uninstaller.exe"), &in_dist));
    ASSERT_TRUE(test_support::ReadFileBytes(SetupProgram("uninstaller.exe"), &in_setup));
    EXPECT_TRUE(in_dist == in_setup);
}

// ---- skins ----

struct ControlCase {
    const wchar_t* name;
    const wchar_t* kind;  // the interface the code asks for
    const wchar_t* text;  // nullptr: not checked
};

struct SkinCase {
    const wchar_t* file;
    SIZE size;
    RECT caption;  // all -1: not checked
    std::vector<ControlCase> controls;
};

class SkinZip : public ::testing::Test {
 protected:
    void Open(const char* program, int id) {
        copy_.reset(new ProgramCopy(program));
        resources_.reset(new ProgramResources(copy_->path()));
        ASSERT_TRUE(resources_->ok());
        zip_ = resources_->Bytes(L"ZIPRES", MAKEINTRESOURCEW(id));
        ASSERT_FALSE(zip_.empty());
        CWindowManagerUI::UseSkinZipFile(L"");  // an earlier test's zip
        ASSERT_TRUE(CWindowManagerUI::UseSkinZipInMemory(zip_.data(), static_cast<DWORD>(zip_.size())));
    }
    void TearDown() override {
        CWindowManagerUI::UseSkinZipFile(L"");
        resources_.reset();
        copy_.reset();
    }

    bool HasFile(const wchar_t* name) {
        CUiZipReader* reader = CUiZipReader::Open(kZipFromMemory, zip_.data(),
                                                  static_cast<unsigned>(zip_.size()));
        if (!reader) return false;
        int index = -1;
        TUiZipEntry entry;
        const bool found = CUiZipReader::FindItem(reader, name, &index, &entry) == 0;
        CUiZipReader::Close(reader);
        return found;
    }

    std::string FileText(const wchar_t* name) {
        CUiZipReader* reader = CUiZipReader::Open(kZipFromMemory, zip_.data(),
                                                  static_cast<unsigned>(zip_.size()));
        std::string text;
        int index = -1;
        TUiZipEntry entry;
        if (reader && CUiZipReader::FindItem(reader, name, &index, &entry) == 0) {
            text.resize(entry.uncompressedSize);
            int rc = CUiZipReader::Extract(reader, text.data(), index, entry.uncompressedSize);
            if (rc != 0 && rc != 0x600) text.clear();
        }
        if (reader) CUiZipReader::Close(reader);
        return text;
    }

    // Builds one document; checks its window attributes, its named controls
    // and that every image it names is in the zip.
    void CheckSkin(const SkinCase& skin, CWindowManagerUI& manager) {
        // The skin builder applies a document's window attributes only to a
        // manager that has its window (left for the process to end with).
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr);
        ASSERT_NE(nullptr, window);
        manager.AttachWindow(window);
        CheckSkinDocument(skin, manager);
    }
    void CheckSkinDocument(const SkinCase& skin, CWindowManagerUI& manager) {
        SCOPED_TRACE(testing::Message() << "skin " << std::string(skin.file, skin.file + wcslen(skin.file)));
        ASSERT_TRUE(HasFile(skin.file));
        CSkinBuilder builder;
        CControlUI* root = builder.BuildSkin(skin.file, nullptr, nullptr, &manager);
        ASSERT_NE(nullptr, root);
        manager.AttachRoot(root);  // the manager owns it from here
        EXPECT_EQ(skin.size.cx, manager.GetInitSize().cx);
        EXPECT_EQ(skin.size.cy, manager.GetInitSize().cy);
        if (skin.caption.left != -1) {
            const RECT caption = manager.GetCaption();
            EXPECT_TRUE(EqualRect(&caption, &skin.caption));
        }
        for (const auto& c : skin.controls) {
            CControlUI* control = manager.FindControl(c.name);
            ASSERT_NE(nullptr, control) << std::string(c.name, c.name + wcslen(c.name));
            EXPECT_NE(nullptr, control->FindInterface(c.kind))
                << std::string(c.name, c.name + wcslen(c.name));
            if (c.text) {
            EXPECT_EQ(std::wstring(c.text), std::wstring(control->GetText().GetData()));
        }
        }
        const std::string xml = FileText(skin.file);
        const std::regex image("([A-Za-z0-9_]+\\.(png|gif|ico))");
        for (std::sregex_iterator it(xml.begin(), xml.end(), image), end; it != end; ++it) {
            const std::string name = (*it)[1];
            EXPECT_TRUE(HasFile(std::wstring(name.begin(), name.end()).c_str())) << name;
        }
    }

    std::unique_ptr<ProgramCopy> copy_;
    std::unique_ptr<ProgramResources> resources_;
    std::string zip_;
};

const RECT kUnchecked = {-1, -1, -1, -1};

// Both programs ask their question with this box.
const SkinCase kMessageBoxSkin = {L"message_box.xml", {197, 97}, kUnchecked,
                                  {{L"msg_box_tip_btn", L"Button", nullptr},
                                   {L"msg_box_ok_btn", L"Button", nullptr},
                                   {L"msg_box_cancel_btn", L"Button", nullptr}}};

TEST_F(SkinZip, TheSetupProgramsSkinHoldsEveryWindow) {
    Open("installer.exe", 105);
    const SkinCase skins[] = {
        {L"skin.xml", {562, 357}, {0, 0, 0, 250},
         {{L"close_btn", L"Button", nullptr},
          {L"plane1", L"HorizontalLayout", nullptr},
          {L"install_path_edit", L"Edit", nullptr},
          {L"select_path_btn", L"Button", L"目录"},
          {L"install_btn", L"Button", nullptr},
          {L"plane2", L"HorizontalLayout", nullptr},
          {L"inst_progress", L"Progress", nullptr},
          {L"agree_agreement_checkbox", L"Option", nullptr},
          {L"agreement_text_btn", L"Button", L"用户许可协议"}}},
        {L"agreement_wnd.xml", {417, 410}, kUnchecked,
         {{L"close_btn", L"Button", nullptr},
          {L"ok_btn", L"Button", L"同意"},
          {L"cancel_btn", L"Button", L"拒绝"}}},
        {L"startup.xml", {496, 274}, kUnchecked,
         {{L"close_btn", L"Button", nullptr}, {L"startup_btn", L"Button", nullptr}}},
        kMessageBoxSkin,
        {L"message_wnd.xml", {197, 97}, kUnchecked,
         {{L"msg_tip_btn", L"Button", nullptr}, {L"msg_ok_btn", L"Button", nullptr}}},
    };
    for (const auto& skin : skins) {
        CWindowManagerUI manager;
        CheckSkin(skin, manager);
        if (HasFatalFailure()) return;
        if (wcscmp(skin.file, L"skin.xml") != 0) continue;
        // What the code relies on besides the names: the second page starts
        // hidden, the licence starts accepted, the install button can look
        // disabled, and the controls the mouse needs lie below the caption band.
        EXPECT_FALSE(manager.FindControl(L"plane2")->IsVisible());
        auto* check = static_cast<COptionUI*>(manager.FindControl(L"agree_agreement_checkbox")->FindInterface(L"Option"));
        EXPECT_TRUE(check->IsSelected());
        EXPECT_STREQ(L"CheckBoxUI", check->ClassName());
        auto* install = static_cast<CButtonUI*>(manager.FindControl(L"install_btn")->FindInterface(L"Button"));
        EXPECT_FALSE(install->GetDisabledImage().IsEmpty());
    }
}

// The licence text is a read-only, multi-line rich edit from the moment
// the engine is made (styles reach it only then), with a drawn scroll bar:
// a bar without images shows bare frame outlines.
TEST_F(SkinZip, TheAgreementIsAReadOnlyRichEditWithADrawnScrollBar) {
    Open("installer.exe", 105);
    CWindowManagerUI manager;
    CheckSkin({L"agreement_wnd.xml", {417, 410}, kUnchecked, {{L"agreement_text", L"RichEdit", nullptr}}},
              manager);
    ASSERT_FALSE(HasFatalFailure());
    auto* text = static_cast<CRichEditUI*>(manager.FindControl(L"agreement_text")->FindInterface(L"RichEdit"));
    EXPECT_TRUE(text->IsReadOnly());
    EXPECT_NE(0u, text->GetEditStyle() & ES_MULTILINE);
    EXPECT_NE(0u, text->GetEditStyle() & WS_VSCROLL);
    CScrollBarUI* bar = text->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_FALSE(bar->IsHorizontal());
    EXPECT_TRUE(bar->IsShowButton1() && bar->IsShowButton2());
    const struct {
        CScrollBarUI::Part part;
        const char* name;
    } parts[] = {{CScrollBarUI::kBack, "track"},
                 {CScrollBarUI::kButton1, "up button"},
                 {CScrollBarUI::kButton2, "down button"},
                 {CScrollBarUI::kThumb, "thumb"}};
    for (const auto& p : parts) {
        EXPECT_FALSE(bar->GetImage(p.part, CScrollBarUI::kNormal).IsEmpty()) << p.name;
        if (p.part != CScrollBarUI::kBack)
            EXPECT_FALSE(bar->GetImage(p.part, CScrollBarUI::kHot).IsEmpty()) << p.name;
    }
}

TEST_F(SkinZip, TheRemovalProgramsSkinHoldsItsWindowAndTheQuestion) {
    Open("uninstaller.exe", 106);
    EXPECT_FALSE(HasFile(L"message_wnd.xml"));  // it shows no information box
    EXPECT_TRUE(HasFile(L"warning.png"));
    {
        CWindowManagerUI manager;
        CheckSkin({L"skin.xml", {408, 260}, {0, 0, 0, 272},
                   {{L"close_btn", L"Button", nullptr},
                    {L"tips_btn", L"Button", L"{i warning.png} 您确定卸载Kelvora吗？"},
                    {L"plane1", L"VerticalLayout", nullptr},
                    {L"uninstall_btn", L"Button", nullptr},
                    {L"plane2", L"VerticalLayout", nullptr},
                    {L"uninst_progress", L"Progress", nullptr},
                    {L"complete_btn", L"Button", L"完成"}}},
                  manager);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(1, manager.FontCount());
        TUiFontInfo* font = manager.FontAt(0);
        ASSERT_NE(nullptr, font);
        EXPECT_EQ(std::wstring(L"微软雅黑"), std::wstring(font->sFontName.GetData()));
        EXPECT_EQ(13, font->iSize);
        EXPECT_TRUE(font->bBold);
        auto* tips = static_cast<CButtonUI*>(manager.FindControl(L"tips_btn")->FindInterface(L"Button"));
        EXPECT_TRUE(tips->IsShowHtml());
        EXPECT_FALSE(tips->IsEnabled());
        EXPECT_EQ(0xFF000000u, tips->GetDisabledTextColor());
        auto* complete = static_cast<CButtonUI*>(manager.FindControl(L"complete_btn")->FindInterface(L"Button"));
        EXPECT_EQ(0xFFD1D1D1u, complete->GetDisabledTextColor());
        EXPECT_FALSE(complete->GetDisabledImage().IsEmpty());
        EXPECT_FALSE(manager.FindControl(L"plane2")->IsVisible());
        EXPECT_EQ(manager.FindControl(L"plane1"), manager.FindControl(L"uninstall_btn")->GetParent());
        EXPECT_EQ(manager.FindControl(L"plane2"), manager.FindControl(L"uninst_progress")->GetParent());
        EXPECT_EQ(manager.FindControl(L"plane2"), manager.FindControl(L"complete_btn")->GetParent());
    }
    CWindowManagerUI manager;
    CheckSkin(kMessageBoxSkin, manager);
}

}  // namespace
