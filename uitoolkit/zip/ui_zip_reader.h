#pragma once
// Reader for zipped skins: open an archive from a file or a memory block,
// find an entry by path, describe it and extract it into a caller's buffer.
// minizip walks the directory and zlib inflates; the reader feeds minizip
// through its own stream so a zip resource is read in place.
#include <windows.h>
#include <cstdint>

namespace UiToolkit {

// Result codes of every reader call (0 is success).
enum : int {
    kZipOk = 0,
    kZipCannotOpenFile = 0x200,
    kZipNotFound = 0x500,
    kZipMore = 0x600,
    kZipBadLocalHeader = 0x700,
    kZipBadExtraField = 0x800,
    kZipBadArgument = 0x10000,
    kZipWrongHandle = 0x80000,
    kZipInflateFailed = 0x5000000,
};

// Source kinds accepted by CUiZipReader::Open.
enum : int { kZipFromFile = 2, kZipFromMemory = 3 };

// The largest entry name the reader reports, in characters.
const int kZipMaxName = 259;

struct TUiZipEntry {
    int index;  // entry number; the entry count for the summary; -1 when not found
    wchar_t name[kZipMaxName + 1];
    DWORD attributes;  // Win32 FILE_ATTRIBUTE_* bits
    FILETIME accessTime;
    FILETIME creationTime;
    FILETIME writeTime;
    int compressedSize;
    int uncompressedSize;
};

struct TUiZipStream;
struct TUiZipState;

class CUiZipReader {
public:
    // kind kZipFromFile: source is a wide path. kind kZipFromMemory: source
    // is a block of `length` bytes that the caller keeps alive until Close.
    // Returns none when the source cannot be opened or is not a zip.
    static CUiZipReader* Open(int kind, const void* source, unsigned length);

    static int FindItem(CUiZipReader* handle, const wchar_t* name, int* index, TUiZipEntry* entry);
    // index -1 gives the archive summary (entry count in the index field).
    static int ItemInfo(CUiZipReader* handle, int index, TUiZipEntry* entry);
    // Delivers up to `size` bytes of the entry, continuing where the last
    // call on the same entry stopped: kZipMore while bytes come, then kZipOk
    // once the entry is finished and its length and CRC-32 have checked out.
    static int Extract(CUiZipReader* handle, void* buffer, int index, unsigned size);
    // Extracts a whole entry of `size` bytes into `buffer`; kZipOk only when
    // exactly that many bytes came out and the CRC-32 matched.
    static int ExtractWhole(CUiZipReader* handle, int index, void* buffer, unsigned size);
    static int Close(CUiZipReader* handle);

    // Seconds since 1970 (negative before) as a FILETIME, computed without
    // the C runtime's calendar, which refuses times before 1970.
    static FILETIME UnixTimeToFileTime(int64_t seconds);

    // Win32 attribute bits from an entry's external attributes and the
    // "version made by" field (its high byte names the host system).
    static DWORD AttributesFromExternal(unsigned long external, unsigned long madeBy);

    // Applies the first "UT" block of a local extra field to the times.
    static void ApplyExtendedTimes(const unsigned char* extra, unsigned length, TUiZipEntry* entry);

private:
    CUiZipReader() = default;
    ~CUiZipReader();
    int LocateItem(const wchar_t* name, int* index, TUiZipEntry* entry);
    int ItemInfoInternal(int index, TUiZipEntry* entry);
    int ExtractItem(int index, void* buffer, unsigned size, unsigned* delivered);
    int MoveTo(int index);
    void CloseOpenEntry();
    void CloseArchive();

    int kind_ = 1;
    void* archive_ = nullptr;  // minizip's unzFile
    TUiZipStream* stream_ = nullptr;
    int entryCount_ = 0;
    int currentIndex_ = 0;  // entry minizip is positioned on
    int openIndex_ = -1;    // entry open for reading
    unsigned long openCrc_ = 0;
    unsigned long openExpected_ = 0;
    unsigned long openDelivered_ = 0;
    uint32_t openRunningCrc_ = 0;
    int cachedIndex_ = -1;
    TUiZipEntry cached_{};
};

}  // namespace UiToolkit
