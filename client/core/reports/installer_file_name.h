#pragma once
#include <stdint.h>
#include <string>
#include "client/core/catalogue/software.h"

// The installer's file name in the download folder for a software: from its
// file-name pattern and the union id, or else its name ending in its
// installer extension (".exe" when it has none). The finished download is
// opened by that extension, so it is always added unless the name already
// ends in it (in any case): "Paint.NET" becomes "Paint.NET.exe". Reads the
// union id on first need (1000 when the file gives none).
void MakeInstallerFileName(const Software& software, std::wstring* out);

// The same for a given union id (pure; what the wrapper above uses).
//   "a?0000?b" (three groups): k's digits right-aligned in a zero field as
//       wide as the middle group (k := 1 when it does not fit);
//   "a?b" (two groups): a + (k + the record's union id) + b;
//   otherwise the pattern itself;
// where k = union id - 999 from 1000 on, else 1. Whatever comes out is
// reduced to one valid file-name component, so a name from the service can
// never point outside the download folder.
void MakeInstallerFileNameFor(const Software& software, int32_t union_id, std::wstring* out);

// Reduces a text to one valid file-name component: characters that are
// illegal in file names (and path separators) become '_', trailing dots and
// blanks go, reserved device names (in every form Windows maps to a device:
// any case, with blanks or an extension after them, "COM1" to "COM9", "COM0",
// the superscript "COM¹" to "COM³", the same for "LPT") get a
// leading '_', and a name that is empty or only dots becomes "_". A name too
// long is shortened before its last extension, never through it.
std::wstring SafeFileNameComponent(const std::wstring& name);
