#pragma once
// The signed-in user's schemes (named software lists) on the user service,
// with a cache of the scheme list and of each fetched scheme's soft ids.
#include <stdint.h>
#include <map>
#include <string>
#include <vector>
#include "foundation/ke/critical_section.h"

struct SchemeInfo {
    int32_t scheme_id = 0;
    std::wstring scheme_name;
    std::wstring scheme_desc;
    int32_t soft_num = 0;
};

class SchemeMgr {
public:
    static SchemeMgr& Instance();

    // Each returns false on a failed request or a refused answer and then
    // leaves the caches as they were.
    bool GetSchemes(std::vector<SchemeInfo>* schemes, bool refresh);
    bool AddScheme(const std::wstring& name, const std::wstring& desc, int32_t* new_id);
    bool DeleteScheme(int32_t scheme_id);
    bool ModifyScheme(int32_t scheme_id, const std::wstring& name, const std::wstring& desc);
    bool GetSchemeSoftIds(int32_t scheme_id, std::vector<int32_t>* soft_ids);
    bool AddSoftToScheme(int32_t scheme_id, int32_t soft_id);
    bool RemoveSoftFromScheme(int32_t scheme_id, int32_t soft_id);
    void ClearCache();

    // Answer parsers: "error" must be "noerror".
    static bool ParseStatus(const std::string& body);
    // At least one scheme.
    static bool ParseSchemes(const std::string& body, std::vector<SchemeInfo>* schemes);
    static bool ParseAddScheme(const std::string& body, int32_t* new_id);
    // "list" must be an array (it may be empty).
    static bool ParseSchemeSoftIds(const std::string& body, std::vector<int32_t>* soft_ids);

private:
    SchemeMgr() = default;

    ke::critical_section scheme_lock_;
    std::vector<SchemeInfo> schemes_;
    ke::critical_section soft_lock_;
    std::map<int32_t, std::vector<int32_t>> soft_ids_;
};
