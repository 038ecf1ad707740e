#include "client/core/utilities/mac_address.h"
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <ipifcons.h>
#include <string.h>

#ifndef IF_TYPE_IEEE80211
#define IF_TYPE_IEEE80211 71
#endif

int ClassifyAdapter(unsigned type, const char* description) {
    if (type == MIB_IF_TYPE_ETHERNET) {
        return description && strstr(description, "PCI") ? kAdapterPciEthernet : kAdapterEthernet;
    }
    if (type == IF_TYPE_IEEE80211) return kAdapterWireless;
    return kAdapterOther;
}

std::string MacText(const unsigned char* bytes, size_t length) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text.push_back(kHex[bytes[i] >> 4]);
        text.push_back(kHex[bytes[i] & 0x0F]);
    }
    return text;
}

bool GetMacList(std::vector<AdapterInfo>* out) {
    ULONG size = 0;
    if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0) return false;
    IP_ADAPTER_INFO* list = static_cast<IP_ADAPTER_INFO*>(GlobalAlloc(GMEM_FIXED, size));
    if (!list) return false;
    if (GetAdaptersInfo(list, &size) != NO_ERROR) {
        GlobalFree(list);
        return false;
    }
    for (IP_ADAPTER_INFO* a = list; a; a = a->Next) {
        size_t length = a->AddressLength <= MAX_ADAPTER_ADDRESS_LENGTH ? a->AddressLength
                                                                      : MAX_ADAPTER_ADDRESS_LENGTH;
        char description[MAX_ADAPTER_DESCRIPTION_LENGTH + 5];
        memcpy(description, a->Description, sizeof description - 1);
        description[sizeof description - 1] = '\0';
        out->push_back({MacText(a->Address, length), ClassifyAdapter(a->Type, description)});
    }
    GlobalFree(list);
    return true;
}

std::string ChooseReportMac(const std::vector<AdapterInfo>& adapters) {
    if (adapters.empty()) return "00000";
    for (int kind : {kAdapterPciEthernet, kAdapterWireless}) {
        for (const AdapterInfo& a : adapters) {
            if (a.kind == kind) return a.mac;
        }
    }
    return adapters.front().mac;
}
