#pragma once
#include <stdint.h>
#include <string>
#include <vector>

// Appends the soft ids the catalogue finds for `keyword` (sent as UTF-8,
// every byte percent-encoded). False when the request failed or the answer
// was not a JSON object.
bool SearchSoft(const std::wstring& keyword, std::vector<int32_t>* ids);

// Parses a search answer, appending each "results" element's "soft_id".
bool ParseSearchResults(const std::string& body, std::vector<int32_t>* ids);
