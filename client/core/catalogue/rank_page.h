#pragma once
#include <stdint.h>
#include <string>
#include <utility>
#include <vector>

// One ranking entry: (soft id, rank).
typedef std::pair<int32_t, int32_t> RankEntry;

// One ranking page (20 entries) of category `type_id`, pages counted from 1.
// Pages are cached for the run; without `refresh` a cached page is served
// without a request. A refresh whose fetch fails keeps the cached page.
bool GetRankPage(int32_t type_id, int32_t page, bool refresh, std::vector<RankEntry>* entries,
                 int32_t* total, int32_t* count);

// Parses one ranking answer. False when it is not a JSON object, its
// "total_num" is 0, or no entry is usable; entries with a negative id or rank
// are skipped with a log line.
bool LoadFromJson(const std::string& answer, std::vector<RankEntry>* entries, int32_t* total,
                  int32_t* count);

// Test seam: empties the page cache.
void ClearRankCacheForTest();
