#pragma once
#include <stddef.h>
#include <string>
#include <vector>

// Adapter kinds, in the order the report MAC prefers them.
enum AdapterKind {
    kAdapterEthernet = 0,     // any other Ethernet adapter
    kAdapterPciEthernet = 1,  // Ethernet whose description contains "PCI"
    kAdapterWireless = 2,     // IEEE 802.11
    kAdapterOther = 3,
};

struct AdapterInfo {
    std::string mac;  // hardware address bytes as "%02X", no separators
    int kind;
};

// Kind of an adapter from its IP Helper type and description.
int ClassifyAdapter(unsigned type, const char* description);

// The address bytes as upper-case hexadecimal pairs.
std::string MacText(const unsigned char* bytes, size_t length);

// Lists the adapters in the system's order. False when the system lists none
// or the call fails.
bool GetMacList(std::vector<AdapterInfo>* out);

// The MAC sent with reports: the first PCI Ethernet adapter, else the first
// wireless one, else the first adapter; "00000" for an empty list.
std::string ChooseReportMac(const std::vector<AdapterInfo>& adapters);
