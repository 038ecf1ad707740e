#pragma once
// Where skin documents and images are read from: a skin zip (kept open by
// the window manager, or opened for one load) or the resource folder.
#include <windows.h>
#include <memory>
#include <string>

namespace UiToolkit {

class CUiZipReader;

struct TUiSkinLocation {
    std::wstring resourceFolder;  // with its trailing backslash, or empty
    std::wstring skinZipName;     // empty when skins are plain files
    CUiZipReader* openZip = nullptr;  // the process-wide open skin zip, if any
    HMODULE resourceModule = nullptr;  // none: the program module
};

// The window manager installs the function that reports its process-wide
// skin state; until then skins are files relative to the current folder.
using SkinLocationProvider = TUiSkinLocation (*)();
void SetSkinLocationProvider(SkinLocationProvider provider);
TUiSkinLocation CurrentSkinLocation();

// A block of bytes read from a skin. The block is not zero-filled first:
// an entry that claims a huge size costs nothing until bytes arrive, and a
// short one is refused before anyone reads the rest.
struct TUiBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    void Clear() {
        data.reset();
        size = 0;
    }
    bool Allocate(size_t n);
};

enum class SkinRead {
    Ok,
    ZipOpenFailed,
    NotInZip,
    Empty,
    TooLarge,
    ZipReadFailed,
    FileOpenFailed,
    FileReadFailed,
};

// Reads the entry `name` of the skin zip (the open one, or resource folder +
// zip name opened and closed again here). `maxBytes` 0 means no limit.
SkinRead ReadSkinZipEntry(const TUiSkinLocation& location, const wchar_t* name, size_t maxBytes,
                          TUiBytes* out);

// Reads a whole file. `maxBytes` 0 means no limit.
SkinRead ReadWholeFile(const std::wstring& path, size_t maxBytes, TUiBytes* out);

}  // namespace UiToolkit
