#include <gtest/gtest.h>
#include <windows.h>
#include <iphlpapi.h>
#include <stdio.h>
#include "client/core/utilities/directory_size.h"
#include "client/core/utilities/mac_address.h"
#include "client/core/utilities/wow64.h"
#include "tests/support/test_support.h"

namespace {

using test_support::MakeTempDir;
using test_support::RemoveTree;
using test_support::WriteFileBytes;

TEST(DirectorySize, SumsFilesOfEveryLevelAndFailsOnAMissingFolder) {
    std::wstring dir = MakeTempDir(L"dirsize");
    uint64_t size = 77;
    ASSERT_TRUE(DirectorySize(dir, &size));
    EXPECT_EQ(0u, size);

    ASSERT_TRUE(WriteFileBytes(dir + L"\\a.bin", std::string(1000, 'a')));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub\\deeper").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\empty").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(dir + L"\\sub\\b.bin", std::string(234, 'b')));
    ASSERT_TRUE(WriteFileBytes(dir + L"\\sub\\deeper\\c.bin", std::string(5, 'c')));
    ASSERT_TRUE(WriteFileBytes(dir + L"\\sub\\deeper\\empty.bin", ""));
    ASSERT_TRUE(DirectorySize(dir, &size));
    EXPECT_EQ(1239u, size);
    ASSERT_TRUE(DirectorySize(dir + L"\\", &size));  // a trailing backslash is fine
    EXPECT_EQ(1239u, size);

    size = 42;
    EXPECT_FALSE(DirectorySize(dir + L"\\missing", &size));
    EXPECT_EQ(42u, size);
    EXPECT_FALSE(DirectorySize(dir + L"\\a.bin", &size));
    EXPECT_EQ(42u, size);
    RemoveTree(dir);
}

TEST(MacAddress, KindFollowsTypeAndDescription) {
    struct Case {
        unsigned type;
        const char* description;
        int kind;
    } cases[] = {
        {MIB_IF_TYPE_ETHERNET, "Realtek PCIe GBE Family Controller", kAdapterPciEthernet},
        {MIB_IF_TYPE_ETHERNET, "Intel(R) PRO/1000 MT PCI Adapter", kAdapterPciEthernet},
        {MIB_IF_TYPE_ETHERNET, "USB Ethernet pci", kAdapterEthernet},  // case matters
        {MIB_IF_TYPE_ETHERNET, "TAP-Windows Adapter", kAdapterEthernet},
        {MIB_IF_TYPE_ETHERNET, nullptr, kAdapterEthernet},
        {71, "Wireless PCI Adapter", kAdapterWireless},
        {MIB_IF_TYPE_PPP, "WAN Miniport PCI", kAdapterOther},
        {MIB_IF_TYPE_LOOPBACK, "Loopback", kAdapterOther},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.kind, ClassifyAdapter(c.type, c.description)) << (c.description ? c.description : "(null)");
    }
    const unsigned char bytes[] = {0x00, 0x1a, 0x2B, 0xc3, 0x0D, 0xFF};
    EXPECT_EQ("001A2BC30DFF", MacText(bytes, 6));
    EXPECT_EQ("", MacText(bytes, 0));
}

TEST(MacAddress, ReportMacPrefersPciEthernetThenWirelessThenTheFirst) {
    struct Case {
        std::vector<AdapterInfo> adapters;
        const char* mac;
    } cases[] = {
        {{}, "00000"},
        {{{"AAAAAAAAAAAA", kAdapterOther}}, "AAAAAAAAAAAA"},
        {{{"AAAAAAAAAAAA", kAdapterEthernet}, {"BBBBBBBBBBBB", kAdapterWireless},
          {"CCCCCCCCCCCC", kAdapterPciEthernet}, {"DDDDDDDDDDDD", kAdapterPciEthernet}},
         "CCCCCCCCCCCC"},
        {{{"AAAAAAAAAAAA", kAdapterOther}, {"BBBBBBBBBBBB", kAdapterWireless},
          {"CCCCCCCCCCCC", kAdapterWireless}},
         "BBBBBBBBBBBB"},
        {{{"AAAAAAAAAAAA", kAdapterOther}, {"BBBBBBBBBBBB", kAdapterEthernet}}, "AAAAAAAAAAAA"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.mac, ChooseReportMac(c.adapters));
}

TEST(MacAddress, SystemListIsWellFormedWhenThereIsOne) {
    // A container may list no adapter; then the list call fails and the
    // report falls back to "00000".
    std::vector<AdapterInfo> list;
    if (!GetMacList(&list)) {
        EXPECT_TRUE(list.empty());
        return;
    }
    for (const AdapterInfo& a : list) {
        EXPECT_EQ(0u, a.mac.size() % 2);
        EXPECT_EQ(std::string::npos, a.mac.find_first_not_of("0123456789ABCDEF")) << a.mac;
        EXPECT_GE(a.kind, 0);
        EXPECT_LE(a.kind, 3);
    }
}

TEST(Wow64, AgreesWithTheSystem) {
    BOOL wow64 = FALSE;
    typedef BOOL(WINAPI * Fn)(HANDLE, PBOOL);
    Fn fn = reinterpret_cast<Fn>(GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process"));
    bool expected = fn && fn(GetCurrentProcess(), &wow64) && wow64;
    EXPECT_EQ(expected, IsWow64());
}

TEST(Wow64, TheSystemIs64BitForA64BitProcessAndForAWow64One) {
    // The processor Windows itself runs on, whatever this process is.
    SYSTEM_INFO native = {};
    GetNativeSystemInfo(&native);
    bool expected = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                    native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64 ||
                    native.wProcessorArchitecture == 12 /* ARM64 */;
    EXPECT_EQ(expected, Is64BitSystem());
    EXPECT_TRUE(Is64BitSystem()) << "the test prefix is a 64-bit one";
}

TEST(Wow64, AThirtyTwoBitProcessSeesTheRedirectedRegistryView) {
#ifdef _WIN64
    GTEST_SKIP() << "a 64-bit process is not WOW64: this runs in the 32-bit flavour";
#else
    ASSERT_TRUE(IsWow64()) << "the test prefix is a 64-bit one";
    wchar_t name[64];
    swprintf(name, 64, L"Software\\KelvoraWow64Test%lu", GetCurrentProcessId());
    struct Case {
        REGSAM view;
        bool seen_by_default;
    } cases[] = {{KEY_WOW64_32KEY, true}, {KEY_WOW64_64KEY, false}};
    for (const Case& c : cases) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, name, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS | c.view, nullptr, &key, nullptr));
        RegCloseKey(key);
        HKEY seen = nullptr;
        EXPECT_EQ(c.seen_by_default,
                  RegOpenKeyExW(HKEY_LOCAL_MACHINE, name, 0, KEY_READ, &seen) == ERROR_SUCCESS)
            << c.view;
        if (seen) RegCloseKey(seen);
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyExW(HKEY_LOCAL_MACHINE, name, c.view, 0)) << c.view;
    }
#endif
}

}  // namespace
