#include "uitoolkit/zip/ui_zip_reader.h"

#include <ioapi.h>
#include <unzip.h>
#include <zlib.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace UiToolkit {

// The input minizip reads through: a file (from its position at open time)
// or a memory block read in place.
struct TUiZipStream {
    bool fromFile = false;
    bool seekable = true;
    HANDLE file = INVALID_HANDLE_VALUE;
    bool error = false;
    uint64_t startOffset = 0;
    const unsigned char* block = nullptr;
    uint64_t length = 0;
    uint64_t position = 0;
};

namespace {

const int kMaxLookupName = 256;  // names this long or longer are never found
const int kRawNameBuffer = 1024;

voidpf ZCALLBACK StreamOpen(voidpf opaque, const char*, int) { return opaque; }

// minizip's small field readers treat a short read as success and use
// zeros, so a truncated archive would "open" with made-up offsets. Every
// short read is therefore reported through the stream's error flag;
// minizip never means to read past the end.
uLong ZCALLBACK StreamRead(voidpf, voidpf handle, void* buffer, uLong size) {
    auto* s = static_cast<TUiZipStream*>(handle);
    if (s->fromFile) {
        DWORD got = 0;
        if (!ReadFile(s->file, buffer, size, &got, nullptr) || got != size) s->error = true;
        return got;
    }
    uint64_t left = s->position < s->length ? s->length - s->position : 0;
    uLong n = size < left ? size : static_cast<uLong>(left);
    if (n) memcpy(buffer, s->block + s->position, n);
    s->position += n;
    if (n != size) s->error = true;
    return n;
}

uLong ZCALLBACK StreamWrite(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK StreamTell(voidpf, voidpf handle) {
    auto* s = static_cast<TUiZipStream*>(handle);
    if (!s->fromFile) return static_cast<long>(s->position);
    LARGE_INTEGER zero{}, now{};
    if (!SetFilePointerEx(s->file, zero, &now, FILE_CURRENT)) return -1;
    uint64_t pos = static_cast<uint64_t>(now.QuadPart);
    return pos >= s->startOffset ? static_cast<long>(pos - s->startOffset) : -1;
}

long ZCALLBACK StreamSeek(voidpf, voidpf handle, uLong offset, int origin) {
    auto* s = static_cast<TUiZipStream*>(handle);
    if (!s->seekable) return -1;
    uint64_t base = 0;
    if (s->fromFile) {
        if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
            long now = StreamTell(nullptr, handle);
            if (now < 0) return -1;
            base = static_cast<uint64_t>(now);
        } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
            LARGE_INTEGER size{};
            if (!GetFileSizeEx(s->file, &size)) return -1;
            uint64_t total = static_cast<uint64_t>(size.QuadPart);
            base = total > s->startOffset ? total - s->startOffset : 0;
        }
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(s->startOffset + base + offset);
        return SetFilePointerEx(s->file, to, nullptr, FILE_BEGIN) ? 0 : -1;
    }
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = s->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END) base = s->length;
    uint64_t to = base + offset;
    // A seek past the block stops at its end, so later reads find nothing
    // rather than memory beyond the block.
    s->position = to < s->length ? to : s->length;
    return 0;
}

int ZCALLBACK StreamClose(voidpf, voidpf) { return 0; }  // the reader closes the stream itself

int ZCALLBACK StreamError(voidpf, voidpf handle) {
    return static_cast<TUiZipStream*>(handle)->error ? -1 : 0;
}

void CloseStream(TUiZipStream* s) {
    if (!s) return;
    if (s->fromFile && s->file != INVALID_HANDLE_VALUE) CloseHandle(s->file);
    delete s;
}

// ASCII-only case folding: entry names are compared ignoring the case of a-z.
bool SameNameIgnoringAsciiCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

uint32_t ReadLe32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

FILETIME CUiZipReader::UnixTimeToFileTime(int64_t seconds) {
    // 100-ns intervals between 1601-01-01 and 1970-01-01.
    const int64_t kEpochDelta = 116444736000000000LL;
    int64_t ticks = seconds * 10000000LL + kEpochDelta;
    if (ticks < 0) ticks = 0;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    return ft;
}

DWORD CUiZipReader::AttributesFromExternal(unsigned long external, unsigned long madeBy) {
    // Only archives made on Unix carry a Unix mode in the high half; in
    // others those bits mean nothing and must not make files read-only.
    const bool unixMade = ((madeBy >> 8) & 0xFF) == 3;
    const bool directory = (external & 0x10) || (unixMade && (external & 0x40000000));
    DWORD attributes = directory ? 0x90 : 0x80;
    if (external & 0x20) attributes |= 0x20;
    if (external & 0x02) attributes |= 0x02;
    if (external & 0x04) attributes |= 0x04;
    if ((external & 0x01) || (unixMade && !(external & 0x00800000))) attributes |= 0x01;
    return attributes;
}

void CUiZipReader::ApplyExtendedTimes(const unsigned char* extra, unsigned length, TUiZipEntry* entry) {
    unsigned pos = 0;
    while (length - pos > 4) {
        unsigned id = extra[pos] | (extra[pos + 1] << 8);
        unsigned size = extra[pos + 2] | (extra[pos + 3] << 8);
        unsigned data = pos + 4;
        unsigned end = size <= length - data ? data + size : length;
        if (id == 0x5455) {  // "UT"
            if (data >= end) return;
            unsigned flags = extra[data];
            unsigned at = data + 1;
            FILETIME* targets[3] = {&entry->writeTime, &entry->accessTime, &entry->creationTime};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1u << bit))) continue;
                if (end - at < 4) break;
                int32_t seconds = static_cast<int32_t>(ReadLe32(extra + at));
                *targets[bit] = UnixTimeToFileTime(seconds);
                at += 4;
            }
            return;
        }
        if (size > length - data) return;
        pos = data + size;
    }
}

CUiZipReader::~CUiZipReader() { CloseArchive(); }

CUiZipReader* CUiZipReader::Open(int kind, const void* source, unsigned length) {
    if (!source || (kind != kZipFromFile && kind != kZipFromMemory)) return nullptr;
    auto* stream = new (std::nothrow) TUiZipStream;
    if (!stream) return nullptr;
    if (kind == kZipFromFile) {
        stream->fromFile = true;
        stream->file = CreateFileW(static_cast<const wchar_t*>(source), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (stream->file == INVALID_HANDLE_VALUE) {
            delete stream;
            return nullptr;
        }
        stream->seekable = GetFileType(stream->file) == FILE_TYPE_DISK;
        LARGE_INTEGER zero{}, now{};
        if (SetFilePointerEx(stream->file, zero, &now, FILE_CURRENT)) stream->startOffset = now.QuadPart;
    } else {
        stream->block = static_cast<const unsigned char*>(source);
        stream->length = length;
    }
    zlib_filefunc_def functions;
    functions.zopen_file = StreamOpen;
    functions.zread_file = StreamRead;
    functions.zwrite_file = StreamWrite;
    functions.ztell_file = StreamTell;
    functions.zseek_file = StreamSeek;
    functions.zclose_file = StreamClose;
    functions.zerror_file = StreamError;
    functions.opaque = stream;
    unzFile archive = unzOpen2("", &functions);
    if (!archive) {
        CloseStream(stream);
        return nullptr;
    }
    auto* reader = new (std::nothrow) CUiZipReader;
    if (!reader) {
        unzClose(archive);
        CloseStream(stream);
        return nullptr;
    }
    reader->archive_ = archive;
    reader->stream_ = stream;
    unz_global_info info{};
    if (unzGetGlobalInfo(archive, &info) == UNZ_OK)
        reader->entryCount_ = info.number_entry > INT_MAX ? INT_MAX : static_cast<int>(info.number_entry);
    return reader;
}

int CUiZipReader::FindItem(CUiZipReader* handle, const wchar_t* name, int* index, TUiZipEntry* entry) {
    if (!handle) return kZipBadArgument;
    if (handle->kind_ != 1) return kZipWrongHandle;
    int found = -1;
    TUiZipEntry record{};
    int rc = handle->LocateItem(name, &found, &record);
    if (index) *index = found;
    if (rc == kZipOk && entry) *entry = record;  // on failure the caller's record is left alone
    return rc;
}

int CUiZipReader::ItemInfo(CUiZipReader* handle, int index, TUiZipEntry* entry) {
    if (!handle) return kZipBadArgument;
    if (handle->kind_ != 1) return kZipWrongHandle;
    TUiZipEntry record{};
    int rc = handle->ItemInfoInternal(index, &record);
    if (rc == kZipOk && entry) *entry = record;
    return rc;
}

int CUiZipReader::Extract(CUiZipReader* handle, void* buffer, int index, unsigned size) {
    if (!handle) return kZipBadArgument;
    if (handle->kind_ != 1) return kZipWrongHandle;
    unsigned got = 0;
    return handle->ExtractItem(index, buffer, size, &got);
}

int CUiZipReader::ExtractWhole(CUiZipReader* handle, int index, void* buffer, unsigned size) {
    if (!handle) return kZipBadArgument;
    if (handle->kind_ != 1) return kZipWrongHandle;
    // A fresh start, even when the entry was left open half-read.
    if (handle->openIndex_ == index) handle->CloseOpenEntry();
    unsigned char* out = static_cast<unsigned char*>(buffer);
    unsigned done = 0;
    unsigned char spare[16];
    for (;;) {
        const bool full = done >= size;
        unsigned got = 0;
        int rc = handle->ExtractItem(index, full ? spare : out + done, full ? sizeof spare : size - done, &got);
        if (rc == kZipOk) return done == size ? kZipOk : kZipInflateFailed;
        if (rc != kZipMore) return rc;
        if (full) {  // more bytes than the entry declared
            handle->CloseOpenEntry();
            return kZipInflateFailed;
        }
        done += got;
    }
}

int CUiZipReader::Close(CUiZipReader* handle) {
    if (!handle) return kZipBadArgument;
    if (handle->kind_ != 1) return kZipWrongHandle;
    delete handle;
    return kZipOk;
}

void CUiZipReader::CloseOpenEntry() {
    if (openIndex_ >= 0) unzCloseCurrentFile(archive_);
    openIndex_ = -1;
}

void CUiZipReader::CloseArchive() {
    if (archive_) {
        CloseOpenEntry();
        unzClose(archive_);
        archive_ = nullptr;
    }
    CloseStream(stream_);
    stream_ = nullptr;
}

int CUiZipReader::MoveTo(int index) {
    if (index < currentIndex_) {
        if (unzGoToFirstFile(archive_) != UNZ_OK) {
            currentIndex_ = INT_MAX;  // restart from the first entry next time
            return kZipBadLocalHeader;
        }
        currentIndex_ = 0;
    }
    while (currentIndex_ < index) {
        if (unzGoToNextFile(archive_) != UNZ_OK) {
            currentIndex_ = INT_MAX;
            return kZipBadLocalHeader;
        }
        ++currentIndex_;
    }
    return kZipOk;
}

int CUiZipReader::LocateItem(const wchar_t* name, int* index, TUiZipEntry* entry) {
    *index = -1;
    entry->index = -1;
    if (!name || wcslen(name) >= kMaxLookupName) return kZipNotFound;
    char wanted[kMaxLookupName * 4 + 1];
    int length = WideCharToMultiByte(CP_ACP, 0, name, -1, wanted, sizeof wanted, nullptr, nullptr);
    if (length <= 0) return kZipNotFound;
    --length;  // without the terminator
    // Skin documents may name entries in subfolders with backslashes.
    for (int i = 0; i < length; ++i)
        if (wanted[i] == '\\') wanted[i] = '/';

    CloseOpenEntry();
    if (unzGoToFirstFile(archive_) != UNZ_OK) {
        currentIndex_ = INT_MAX;
        return kZipNotFound;
    }
    currentIndex_ = 0;
    char stored[kRawNameBuffer];
    for (;;) {
        unz_file_info info{};
        if (unzGetCurrentFileInfo(archive_, &info, stored, sizeof stored, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        if (info.size_filename == static_cast<unsigned long>(length) &&
            SameNameIgnoringAsciiCase(stored, wanted, length)) {
            *index = currentIndex_;
            return ItemInfoInternal(currentIndex_, entry);
        }
        if (unzGoToNextFile(archive_) != UNZ_OK) {
            currentIndex_ = INT_MAX;
            break;
        }
        ++currentIndex_;
    }
    *index = -1;
    entry->index = -1;
    return kZipNotFound;
}

int CUiZipReader::ItemInfoInternal(int index, TUiZipEntry* entry) {
    if (index < -1 || index >= entryCount_) return kZipBadArgument;
    CloseOpenEntry();
    if (index == -1) {
        *entry = TUiZipEntry{};
        entry->index = entryCount_;
        return kZipOk;
    }
    if (cachedIndex_ == index) {
        *entry = cached_;
        return kZipOk;
    }
    int rc = MoveTo(index);
    if (rc != kZipOk) return rc;

    char stored[kRawNameBuffer];
    unz_file_info info{};
    if (unzGetCurrentFileInfo(archive_, &info, stored, sizeof stored, nullptr, 0, nullptr, 0) != UNZ_OK)
        return kZipBadLocalHeader;
    stored[info.size_filename < sizeof stored ? info.size_filename : sizeof stored - 1] = 0;

    // Opening the entry raw checks its local header against the directory
    // and positions the stream so the local extra field can be read.
    int open = unzOpenCurrentFile2(archive_, nullptr, nullptr, 1);
    if (open == UNZ_BADZIPFILE) return kZipBadLocalHeader;
    if (open != UNZ_OK) return kZipBadExtraField;
    int extraLength = unzGetLocalExtrafield(archive_, nullptr, 0);
    std::vector<unsigned char> extra(extraLength > 0 ? extraLength : 0);
    if (extraLength < 0 ||
        (extraLength > 0 && unzGetLocalExtrafield(archive_, extra.data(), extraLength) != extraLength)) {
        unzCloseCurrentFile(archive_);
        return kZipBadExtraField;
    }
    unzCloseCurrentFile(archive_);

    TUiZipEntry record{};
    record.index = index;
    int wide = MultiByteToWideChar(CP_ACP, 0, stored, -1, record.name, kZipMaxName + 1);
    if (wide <= 0) {
        // Longer than the record holds: keep what fits.
        std::vector<wchar_t> all(strlen(stored) + 1);
        MultiByteToWideChar(CP_ACP, 0, stored, -1, all.data(), static_cast<int>(all.size()));
        wcsncpy(record.name, all.data(), kZipMaxName);
        record.name[kZipMaxName] = 0;
    }
    record.attributes = AttributesFromExternal(info.external_fa, info.version);
    FILETIME dos{};
    if (DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &dos))
        record.accessTime = record.creationTime = record.writeTime = dos;
    ApplyExtendedTimes(extra.data(), static_cast<unsigned>(extra.size()), &record);
    record.compressedSize = static_cast<int>(info.compressed_size);
    record.uncompressedSize = static_cast<int>(info.uncompressed_size);

    cached_ = record;
    cachedIndex_ = index;
    *entry = record;
    return kZipOk;
}

int CUiZipReader::ExtractItem(int index, void* buffer, unsigned size, unsigned* delivered) {
    *delivered = 0;
    if (!buffer || size == 0 || index < 0) return kZipBadArgument;
    if (index != openIndex_) {
        CloseOpenEntry();
        if (index < 0 || index >= entryCount_) return kZipBadArgument;
        int rc = MoveTo(index);
        if (rc != kZipOk) return rc;
        unz_file_info info{};
        if (unzGetCurrentFileInfo(archive_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return kZipBadLocalHeader;
        int open = unzOpenCurrentFile(archive_);
        if (open == UNZ_BADZIPFILE) return kZipBadLocalHeader;
        if (open != UNZ_OK) return kZipInflateFailed;
        openIndex_ = index;
        openCrc_ = info.crc;
        openExpected_ = info.uncompressed_size;
        openDelivered_ = 0;
        openRunningCrc_ = 0;
    }
    unsigned ask = size > INT_MAX ? INT_MAX : size;
    int got = unzReadCurrentFile(archive_, buffer, ask);
    if (got > 0) {
        *delivered = got;
        openDelivered_ += got;
        openRunningCrc_ = crc32(openRunningCrc_, static_cast<const Bytef*>(buffer), got);
        if (openDelivered_ > openExpected_) {
            CloseOpenEntry();
            return kZipInflateFailed;
        }
        return kZipMore;
    }
    // Finished or failed: the entry only counts as read when every declared
    // byte came out and the CRC-32 matches, so a truncated or damaged entry
    // never passes for a good one.
    bool sound = got == 0 && openDelivered_ == openExpected_ && openRunningCrc_ == openCrc_;
    CloseOpenEntry();
    return sound ? kZipOk : kZipInflateFailed;
}

}  // namespace UiToolkit
