#pragma once
#include <functional>
#include <map>
#include <string>
#include "client/core/catalogue/software.h"
#include "foundation/ke/critical_section.h"

typedef std::map<int, SoftwarePtr> SoftMap;

// The process-wide software cache: soft id -> record, filled in batches from
// the catalogue host, plus the collected (favourite) flag of each id.
class SoftInfoMgr {
public:
    static SoftInfoMgr& Instance();

    // The cached record, or an empty pointer.
    SoftwarePtr GetSoft(int soft_id);
    // Sets a cached record's icon_path (the one field that changes after a
    // record is published); nothing when the id is not cached.
    void SetIconPath(int soft_id, const std::wstring& path);
    // A record's icon_path, read under the same lock that guards its writes.
    std::wstring GetIconPath(const Software& soft);
    // Sets a cached record's soft_score (a fresh score from the score
    // service); nothing when the id is not cached.
    void SetSoftScore(int soft_id, int score);
    // A record's soft_score, read under the lock that guards its writes.
    int GetSoftScore(const Software& soft);

    // `ids` maps the wanted ids to empty pointers. Afterwards it holds exactly
    // the ids whose record is known, each with its record. Missing records
    // (all of them with `refresh`) are fetched on one connection; the result
    // is false when that fetch failed or an answer was not a JSON object, and
    // then the cache keeps none of the batch.
    bool FetchSofts(SoftMap* ids, bool refresh);

    void SetCollected(int soft_id, bool collected);
    bool IsCollected(int soft_id);
    // Every flag gone (at logout).
    void ClearCollected();

    // Finds the local icon of an id ("temp\<id>.png" when that file is in the
    // skin's icon folder). Replaceable, for the icon store and for tests.
    typedef std::function<bool(int soft_id, std::wstring* relative_path)> IconLookup;
    void SetLocalIconLookup(IconLookup lookup);

    // Test seam: forgets every cached record and flag.
    void ClearForTest();

private:
    SoftInfoMgr();
    bool DownloadSofts(SoftMap* work);
    void Merge(const SoftMap& work);
    void FillLocalIcons(const SoftMap& work, SoftMap* ids);

    ke::critical_section cache_lock_;
    SoftMap cache_;
    IconLookup icon_lookup_;
    ke::critical_section collected_lock_;
    std::map<int, bool> collected_;
};
