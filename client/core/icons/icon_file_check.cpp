#include "client/core/icons/icon_file_check.h"
#include <windows.h>
#include <vector>
#include "foundation/log/log.h"
#include "uitoolkit/image/image_decode.h"

bool IconFileAcceptable(const std::wstring& file, const char* who, int32_t id) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return true;  // nothing there to decode
    LARGE_INTEGER size = {};
    GetFileSizeEx(handle, &size);
    std::vector<char> head(size.QuadPart < static_cast<LONGLONG>(kIconHeaderProbeBytes)
                               ? static_cast<size_t>(size.QuadPart)
                               : kIconHeaderProbeBytes);
    DWORD got = 0;
    bool read = head.empty() || ReadFile(handle, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    CloseHandle(handle);
    if (!read) return true;
    return IconBytesAcceptable(head.data(), got, size.QuadPart, who, id);
}

// Every header stb_image reads sits well inside kIconHeaderProbeBytes.
bool IconBytesAcceptable(const char* head, size_t size, long long total, const char* who, int32_t id) {
    int width = 0, height = 0;
    if (!UiToolkit::ReadImageHeaderSize(head, size, &width, &height)) {
        if (total <= static_cast<long long>(kIconHeaderProbeBytes)) return true;
        log_error("%s: icon %d refused, no picture header in its first %lu of %lld bytes", who,
                  static_cast<int>(id), static_cast<unsigned long>(kIconHeaderProbeBytes), total);
        return false;
    }
    if (static_cast<long long>(width) * height <= kMaxIconPixels) return true;
    log_error("%s: icon %d refused, its picture declares %dx%d pixels", who, static_cast<int>(id), width,
              height);
    return false;
}
