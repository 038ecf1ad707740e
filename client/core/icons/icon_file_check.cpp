#include "client/core/icons/icon_file_check.h"
#include <windows.h>
#include <vector>
#include "foundation/log/log.h"
#include "uitoolkit/image/image_decode.h"

namespace {
// Every header stb_image reads sits well inside this much of a file.
const DWORD kHeaderProbeBytes = 1024 * 1024;
}  // namespace

bool IconFileAcceptable(const std::wstring& file, const char* who, int32_t id) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return true;  // nothing there to decode
    LARGE_INTEGER size = {};
    GetFileSizeEx(handle, &size);
    std::vector<char> head(size.QuadPart < kHeaderProbeBytes ? static_cast<size_t>(size.QuadPart)
                                                             : kHeaderProbeBytes);
    DWORD got = 0;
    bool read = head.empty() || ReadFile(handle, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    CloseHandle(handle);
    if (!read) return true;

    int width = 0, height = 0;
    if (!UiToolkit::ReadImageHeaderSize(head.data(), got, &width, &height)) {
        if (size.QuadPart <= kHeaderProbeBytes) return true;
        log_error("%s: icon %d refused, no picture header in its first %lu of %lld bytes", who,
                  static_cast<int>(id), static_cast<unsigned long>(kHeaderProbeBytes),
                  static_cast<long long>(size.QuadPart));
        return false;
    }
    if (static_cast<long long>(width) * height <= kMaxIconPixels) return true;
    log_error("%s: icon %d refused, its picture declares %dx%d pixels", who, static_cast<int>(id), width,
              height);
    return false;
}
