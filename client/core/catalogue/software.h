#pragma once
#include <stdint.h>
#include <memory>
#include <string>

// One catalogue entry, shared by reference count between the software cache
// and the windows. Once published, only icon_path and soft_score change
// (under the cache's lock: read them through SoftInfoMgr).
struct Software {
    int32_t soft_id = -1;
    int32_t soft_score = 0;
    std::wstring soft_version;
    std::wstring soft_name;
    std::wstring soft_desc;
    int64_t soft_size = 0;       // bytes
    std::wstring icon_path;      // the local icon file, set by the cache
    std::wstring file_ext;       // installer extension with its dot (".exe"), or empty
    std::wstring install_name;   // never filled by the catalogue
    int32_t union_id = 0;
    std::string name_expr;       // installer file-name pattern, OEM code page
};

typedef std::shared_ptr<Software> SoftwarePtr;
