#include "uitoolkit/zip/skin_files.h"

#include "uitoolkit/zip/ui_zip_reader.h"

#include <new>

namespace UiToolkit {

namespace {

SkinLocationProvider g_provider = nullptr;


}  // namespace

bool TUiBytes::Allocate(size_t n) {
    data.reset(new (std::nothrow) char[n ? n : 1]);
    size = data ? n : 0;
    return data != nullptr;
}

void SetSkinLocationProvider(SkinLocationProvider provider) { g_provider = provider; }

TUiSkinLocation CurrentSkinLocation() {
    if (g_provider) return g_provider();
    return TUiSkinLocation{};
}

SkinRead ReadSkinZipEntry(const TUiSkinLocation& location, const wchar_t* name, size_t maxBytes,
                          TUiBytes* out) {
    out->Clear();
    CUiZipReader* zip = location.openZip;
    CUiZipReader* ownZip = nullptr;
    if (!zip) {
        std::wstring path = location.resourceFolder + location.skinZipName;
        zip = ownZip = CUiZipReader::Open(kZipFromFile, path.c_str(), 0);
        if (!zip) return SkinRead::ZipOpenFailed;
    }
    SkinRead result = SkinRead::Ok;
    int index = -1;
    TUiZipEntry entry{};
    if (CUiZipReader::FindItem(zip, name, &index, &entry) != kZipOk) {
        result = SkinRead::NotInZip;
    } else if (entry.uncompressedSize == 0) {
        result = SkinRead::Empty;
    } else if (entry.uncompressedSize < 0 ||
               (maxBytes && static_cast<size_t>(entry.uncompressedSize) > maxBytes)) {
        result = SkinRead::TooLarge;
    } else if (!out->Allocate(static_cast<size_t>(entry.uncompressedSize)) ||
               CUiZipReader::ExtractWhole(zip, index, out->data.get(), static_cast<unsigned>(out->size)) !=
                   kZipOk) {
        result = SkinRead::ZipReadFailed;
    }
    if (result != SkinRead::Ok) out->Clear();
    if (ownZip) CUiZipReader::Close(ownZip);
    return result;
}

SkinRead ReadWholeFile(const std::wstring& path, size_t maxBytes, TUiBytes* out) {
    out->Clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SkinRead::FileOpenFailed;
    SkinRead result = SkinRead::Ok;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        result = SkinRead::FileReadFailed;
    } else if (size.QuadPart == 0) {
        result = SkinRead::Empty;
    } else if (size.QuadPart > 0x7FFFFFFF ||
               (maxBytes && static_cast<unsigned long long>(size.QuadPart) > maxBytes)) {
        result = SkinRead::TooLarge;
    } else if (!out->Allocate(static_cast<size_t>(size.QuadPart))) {
        result = SkinRead::FileReadFailed;
    } else {
        DWORD got = 0;
        if (!ReadFile(file, out->data.get(), static_cast<DWORD>(out->size), &got, nullptr) ||
            got != out->size)
            result = SkinRead::FileReadFailed;
    }
    CloseHandle(file);
    if (result != SkinRead::Ok) out->Clear();
    return result;
}

}  // namespace UiToolkit
