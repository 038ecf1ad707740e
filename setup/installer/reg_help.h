#pragma once
#include <windows.h>
#include <string>

// Holds one open registry key and closes it when it goes.
class RegHelp {
 public:
    RegHelp() : m_key(nullptr) {}
    virtual ~RegHelp();

    bool Open(HKEY root, const wchar_t* path, REGSAM access);
    HKEY Key() const { return m_key; }

    // "Install_Dir": a text value, read whole even when it was stored
    // without its terminator. A value of another type, an empty one, one of
    // MAX_PATH characters or more, or one that is not a full path ("X:\..."
    // or "\\server\...") is no install folder.
    bool QueryInstallDir(std::wstring* out) const;

 private:
    RegHelp(const RegHelp&) = delete;
    RegHelp& operator=(const RegHelp&) = delete;

    HKEY m_key;
};

// Reads the installed copy's folder from HKEY_LOCAL_MACHINE
// "SOFTWARE\Kelvora"; false when the key or a usable value is missing.
bool ReadInstallDir(std::wstring* out);
