#pragma once
// Helpers shared by the test programs that run under Wine.
#include <windows.h>
#include <string>

namespace test_support {

// A Linux path from the test environment, as Wine sees it ("Z:\...").
std::wstring WinePath(const std::string& unix_path);

// Value of an environment variable, empty when unset.
std::string Env(const char* name);

// The local services' port (from $VANTREL_TEST_SERVICES/port); 0 when the
// services are not running.
int ServicePort();
// "127.0.0.1:<port>"
std::wstring ServiceHost();

// A GET to the local services (for the /_ctl/ paths); returns the body, or
// an empty string on failure.
std::string ServiceGet(const std::string& path);
// The same GET on another loopback port (a private session of the services).
std::string PortGet(int port, const std::string& path);

// A fresh, empty folder under the temporary folder, removed by the caller
// with RemoveTree.
std::wstring MakeTempDir(const wchar_t* tag);
void RemoveTree(const std::wstring& dir);

// How many kernel handles this process holds (found by probing handle
// values: GetProcessHandleCount answers 0 under Wine).
int OpenHandleCount();

// Whole file as bytes; false when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::string* out);
bool WriteFileBytes(const std::wstring& path, const std::string& data);

}  // namespace test_support
