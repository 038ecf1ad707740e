// Which registry views the scan reads, by each flavour's rule: over a fake
// view reader, and over real keys of the test's own in both views.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/install_scan/uninstall_views.h"

namespace {

const UninstallViewRule k32 = UninstallViewRule::kThirtyTwoBit;
const UninstallViewRule k64 = UninstallViewRule::kSixtyFourBit;

TEST(UninstallViews, EachRuleReadsItsViewsInOrder) {
    struct Case {
        UninstallViewRule rule;
        bool wow64;
        bool readable32, readable64;
        std::vector<REGSAM> read;
        bool result;
    } cases[] = {
        // A 64-bit program reads both views whatever either holds.
        {k64, false, true, true, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, true},
        {k64, false, false, true, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, true},
        {k64, false, true, false, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, true},
        {k64, false, false, false, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, false},
        {k64, true, false, true, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, true},
        // A 32-bit program under WOW64: the 64-bit view after its own, and
        // only when its own could be read; the last view read decides.
        {k32, true, true, true, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, true},
        {k32, true, true, false, {KEY_WOW64_32KEY, KEY_WOW64_64KEY}, false},
        {k32, true, false, true, {KEY_WOW64_32KEY}, false},
        {k32, true, false, false, {KEY_WOW64_32KEY}, false},
        // On 32-bit Windows: its own view only.
        {k32, false, true, true, {KEY_WOW64_32KEY}, true},
        {k32, false, false, true, {KEY_WOW64_32KEY}, false},
    };
    for (const Case& c : cases) {
        std::vector<REGSAM> read;
        bool result = ReadUninstallViews(c.rule, c.wow64, [&](REGSAM view) {
            read.push_back(view);
            return view == KEY_WOW64_32KEY ? c.readable32 : c.readable64;
        });
        SCOPED_TRACE(testing::Message() << (c.rule == k64 ? "64-bit" : "32-bit") << " wow64=" << c.wow64
                                        << " readable " << c.readable32 << "/" << c.readable64);
        EXPECT_EQ(c.read, read);
        EXPECT_EQ(c.result, result);
    }
}

enum class View { kMissing, kEmpty, kListed };

// An uninstall key of the test's own under HKEY_LOCAL_MACHINE\SOFTWARE, which
// the registry keeps apart for the two views.
class RealViews : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t base[96];
        swprintf(base, 96, L"SOFTWARE\\KelvoraTests\\Views%lu_%lu", GetCurrentProcessId(), GetTickCount());
        base_ = base;
        where_.uninstall_key = base_ + L"\\Uninstall";
        where_.products_root = HKEY_CURRENT_USER;
        where_.products_key = base_ + L"\\NoProducts\\";
    }
    void TearDown() override {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) Remove(view);
    }

    void Remove(REGSAM view) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, base_.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
            RegDeleteTreeW(key, nullptr);
            RegCloseKey(key);
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, base_.c_str(), view, 0);
        }
    }

    void Make(REGSAM view, View state, const wchar_t* name) {
        if (state == View::kMissing) return;
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, where_.uninstall_key.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS | view, nullptr, &key, nullptr));
        if (state == View::kListed) {
            HKEY entry = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key, name, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                                     &entry, nullptr));
            SetText(entry, L"DisplayName", name);
            SetText(entry, L"UninstallString", L"MsiExec.exe /X{1}");
            RegCloseKey(entry);
        }
        RegCloseKey(key);
    }

    static void SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring base_;
    UninstallRegistry where_;
};

TEST_F(RealViews, BothRulesOverEveryStateOfTheTwoViews) {
    // The two views really are two keys here.
    Make(KEY_WOW64_32KEY, View::kListed, L"Probe");
    HKEY probe = nullptr;
    ASSERT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, (where_.uninstall_key + L"\\Probe").c_str(), 0,
                                           KEY_QUERY_VALUE | KEY_WOW64_64KEY, &probe))
        << "the 32-bit view's key shows in the 64-bit view";
    Remove(KEY_WOW64_32KEY);

    typedef std::vector<std::wstring> Names;
    const View M = View::kMissing, E = View::kEmpty, Li = View::kListed;
    struct Case {
        View view32, view64;
        Names names64;  // the 64-bit rule
        bool result64;
        Names names32;  // the 32-bit rule under WOW64
        bool result32;
    } cases[] = {
        {M, M, {}, false, {}, false},
        {M, E, {}, true, {}, false},
        {M, Li, {L"In64"}, true, {}, false},  // a fresh 64-bit machine with one program
        {E, M, {}, true, {}, false},
        {E, E, {}, true, {}, true},
        {E, Li, {L"In64"}, true, {L"In64"}, true},
        {Li, M, {L"In32"}, true, {L"In32"}, false},
        {Li, E, {L"In32"}, true, {L"In32"}, true},
        {Li, Li, {L"In32", L"In64"}, true, {L"In32", L"In64"}, true},
    };
    const char* state_names[] = {"missing", "empty", "listed"};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "32-bit view " << state_names[static_cast<int>(c.view32)]
                                        << ", 64-bit view " << state_names[static_cast<int>(c.view64)]);
        Make(KEY_WOW64_32KEY, c.view32, L"In32");
        Make(KEY_WOW64_64KEY, c.view64, L"In64");
        for (UninstallViewRule rule : {k64, k32}) {
            UninstallRegistry where = where_;
            where.view_rule = rule;
            where.wow64 = true;
            SysInstallSoftList list;
            bool result = ScanInstalledSoft(&list, where);
            Names names;
            for (const auto& soft : list) names.push_back(soft->display_name);
            if (rule == k64) {
                EXPECT_EQ(c.names64, names) << "64-bit rule";
                EXPECT_EQ(c.result64, result) << "64-bit rule";
            } else {
                EXPECT_EQ(c.names32, names) << "32-bit rule";
                EXPECT_EQ(c.result32, result) << "32-bit rule";
            }
        }
        Remove(KEY_WOW64_32KEY);
        Remove(KEY_WOW64_64KEY);
    }
}

}  // namespace
