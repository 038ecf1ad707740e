#pragma once
// Helpers shared by the test programs that run under Wine.
#include <windows.h>
#include <functional>
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

// For calls that meet a host told to stall far longer than any time-out
// (kLongStallSeconds): runs the call on a thread of its own and says whether
// it came back within kBackWithinMs, a deadline generous for a loaded
// machine and far short of the stall. A call that does not come back in
// time is still waited for (it ends when the stall does), so nothing it
// uses is freed under it.
const int kLongStallSeconds = 600;
const DWORD kBackWithinMs = 120000;
bool BackBeforeTheStallEnds(const std::function<void()>& call);

}  // namespace test_support
