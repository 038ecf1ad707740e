#pragma once
#include <string>
#include "client/core/catalogue/software.h"

// Parses one "/soft/<id>" answer into `soft`. False, with `soft` untouched,
// when the text is not JSON or its root is not an object. Members that are
// missing or not strings take their defaults ("0" for numbers, empty texts).
bool ParseSoftware(Software* soft, const std::string& text);
