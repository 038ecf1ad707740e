#pragma once
// Icons come from the catalogue service and are decoded on the thread that
// paints the rows. A picture whose header declares far more pixels than an
// icon needs would take seconds to decode there (the toolkit's own limit is
// made for skin images), so such a file is refused before anything decodes
// it, and the row keeps its default image as for a missing icon.
#include <stddef.h>
#include <stdint.h>
#include <string>

// No icon needs more pixels than this.
const long long kMaxIconPixels = 1024LL * 1024;

// Whether the icon file at `file` may be shown. False, with a log line
// naming `who` and `id`, when its header declares more than kMaxIconPixels,
// or when the file is too long to look for its header and none was found
// in its beginning. A file whose header cannot be read at all is left to
// the decoder, which refuses it at once.
bool IconFileAcceptable(const std::wstring& file, const char* who, int32_t id);

// The same judgement on bytes in memory: `head` holds the first `size`
// bytes (at least kIconHeaderProbeBytes of them, or all) of a body of
// `total` bytes.
const size_t kIconHeaderProbeBytes = 1024 * 1024;
bool IconBytesAcceptable(const char* head, size_t size, long long total, const char* who, int32_t id);
