#include "client/core/catalogue/software_parse.h"
#include <windows.h>
#include <shlwapi.h>
#include "client/core/utilities/json_read.h"
#include "client/core/utilities/text_encoding.h"

bool ParseSoftware(Software* soft, const std::string& text) {
    Json::Value root;
    if (!json_read::Parse(text, json_read::Root::Object, &root)) return false;
    using json_read::Decimal;
    using json_read::WideText;
    soft->soft_id = Decimal(root, "soft_id", "0");
    soft->soft_size = Decimal(root, "soft_size", "0");  // a 32-bit number, widened with its sign
    soft->union_id = Decimal(root, "union_id", "0");
    soft->soft_score = Decimal(root, "soft_score", "0");
    soft->soft_desc = WideText(root, "soft_desc", "");
    soft->soft_name = WideText(root, "soft_name", "");
    soft->soft_version = WideText(root, "soft_version", "");

    std::wstring pattern = WideText(root, "name_expr", "");
    std::string oem;
    WideToOem(pattern, &oem);
    // The converter keeps the terminating NUL; the record holds the text only.
    soft->name_expr = oem.substr(0, oem.find('\0'));

    std::wstring uname = WideText(root, "soft_uname", "");
    soft->file_ext = PathFindExtensionW(uname.c_str());
    return true;
}
