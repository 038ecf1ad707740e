#pragma once
#include <string>

// Splits "http://host[:port]/path?query" into the host, the port (80 when
// none is given) and the path with its query, exactly as written: nothing is
// decoded, so percent-encoded bytes reach the server as they were sent.
// Only plain "http" URLs (scheme in any case) are accepted; a URL with user
// information, an empty host or a bad port fails. A missing path becomes "/";
// a fragment is dropped.
bool SplitHttpUrl(const std::wstring& url, std::wstring* host, unsigned short* port,
                  std::wstring* path);
