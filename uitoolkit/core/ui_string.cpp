#include "uitoolkit/core/ui_string.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wctype.h>

namespace UiToolkit {

CUiString::CUiString() : m_text(m_inline) { m_inline[0] = 0; }

CUiString::CUiString(const wchar_t* text, int length) : m_text(m_inline) {
  m_inline[0] = 0;
  Assign(text, length);
}

CUiString::CUiString(const CUiString& other) : m_text(m_inline) {
  m_inline[0] = 0;
  Assign(other.m_text);
}

CUiString::~CUiString() {
  if (m_text != m_inline) free(m_text);
}

void CUiString::SetHeapText(wchar_t* block) {
  if (m_text != m_inline) free(m_text);
  m_text = block;
}

void CUiString::Assign(const wchar_t* text, int length) {
  if (!text) text = L"";
  int full = static_cast<int>(wcslen(text));
  if (length < 0 || length > full) length = full;
  if (length <= kMaxInline) {
    // memmove: the source may be this string's own text.
    memmove(m_inline, text, length * sizeof(wchar_t));
    m_inline[length] = 0;
    if (m_text != m_inline) {
      free(m_text);
      m_text = m_inline;
    }
    return;
  }
  if (m_text != m_inline && GetLength() >= length) {
    memmove(m_text, text, length * sizeof(wchar_t));
    m_text[length] = 0;
    return;
  }
  // A fresh block is filled before the old one is freed, so a source that
  // points into the old text stays readable while it is copied.
  wchar_t* block = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
  if (!block) return;
  memcpy(block, text, length * sizeof(wchar_t));
  block[length] = 0;
  SetHeapText(block);
}

void CUiString::Append(const wchar_t* text) {
  if (!text) return;
  int old_len = GetLength();
  int add = static_cast<int>(wcslen(text));
  int new_len = old_len + add;
  if (new_len <= kMaxInline) {
    memmove(m_inline + old_len, text, add * sizeof(wchar_t));
    m_inline[new_len] = 0;
    return;
  }
  wchar_t* block = static_cast<wchar_t*>(malloc((new_len + 1) * sizeof(wchar_t)));
  if (!block) return;
  memcpy(block, m_text, old_len * sizeof(wchar_t));
  memcpy(block + old_len, text, add * sizeof(wchar_t));
  block[new_len] = 0;
  SetHeapText(block);
}

void CUiString::AppendChar(wchar_t ch) {
  wchar_t one[2] = {ch, 0};
  Append(one);
}

void CUiString::Clear() {
  if (m_text != m_inline) free(m_text);
  m_text = m_inline;
  m_inline[0] = 0;
}

wchar_t CUiString::GetAt(int index) const {
  return (index >= 0 && index < GetLength()) ? m_text[index] : 0;
}

CUiString& CUiString::operator=(const CUiString& other) {
  if (this != &other) Assign(other.m_text);
  return *this;
}

CUiString& CUiString::operator=(const wchar_t* text) {
  Assign(text);
  return *this;
}

CUiString& CUiString::operator+=(const wchar_t* text) {
  Append(text);
  return *this;
}

CUiString CUiString::operator+(const wchar_t* text) const {
  CUiString result(*this);
  result.Append(text);
  return result;
}

bool CUiString::operator==(const wchar_t* text) const {
  return wcscmp(m_text, text ? text : L"") == 0;
}

int CUiString::Compare(const wchar_t* text) const { return wcscmp(m_text, text ? text : L""); }

int CUiString::CompareNoCase(const wchar_t* text) const {
  return _wcsicmp(m_text, text ? text : L"");
}

CUiString CUiString::Left(int n) const {
  int len = GetLength();
  if (n < 0) n = 0;
  if (n > len) n = len;
  return CUiString(m_text, n);
}

CUiString CUiString::Mid(int pos, int n) const {
  int len = GetLength();
  if (pos < 0 || pos > len) return CUiString();
  int left = len - pos;
  if (n < 0 || n > left) n = left;
  return CUiString(m_text + pos, n);
}

int CUiString::Find(const wchar_t* text, int from) const {
  int len = GetLength();
  if (from < 0 || from > len || !text) return -1;
  if (!*text) return from;
  const wchar_t* hit = wcsstr(m_text + from, text);
  return hit ? static_cast<int>(hit - m_text) : -1;
}

int CUiString::Find(wchar_t ch, int from) const {
  int len = GetLength();
  if (from < 0 || from > len) return -1;
  const wchar_t* hit = wcschr(m_text + from, ch);
  return (hit && ch) ? static_cast<int>(hit - m_text) : -1;
}

int CUiString::ReplaceAll(const wchar_t* from, const wchar_t* to) {
  if (!from || !*from) return 0;
  if (!to) to = L"";
  int from_len = static_cast<int>(wcslen(from));
  int to_len = static_cast<int>(wcslen(to));
  int count = 0;
  int pos = Find(from, 0);
  while (pos >= 0) {
    CUiString tail(m_text + pos + from_len);
    Assign(m_text, pos);
    Append(to);
    Append(tail);
    ++count;
    pos = Find(from, pos + to_len);
  }
  return count;
}

void CUiString::MakeUpper() {
  for (wchar_t* p = m_text; *p; ++p) *p = towupper(*p);
}

int CUiString::Format(const wchar_t* format, ...) {
  if (!format) {
    Clear();
    return -1;
  }
  va_list args;
  va_start(args, format);
  int needed = __mingw_vsnwprintf(NULL, 0, format, args);
  va_end(args);
  if (needed < 0) {
    Clear();
    return -1;
  }
  wchar_t* buffer = static_cast<wchar_t*>(calloc(needed + 1, sizeof(wchar_t)));
  if (!buffer) {
    Clear();
    return -1;
  }
  va_start(args, format);
  int produced = __mingw_vsnwprintf(buffer, needed + 1, format, args);
  va_end(args);
  if (produced < 0) {
    free(buffer);
    Clear();
    return -1;
  }
  Assign(buffer);
  free(buffer);
  return produced;
}

int CUiString::FormatShort(const wchar_t* format, ...) {
  wchar_t buffer[64] = {0};
  va_list args;
  va_start(args, format);
  int produced = format ? __mingw_vsnwprintf(buffer, 64, format, args) : -1;
  va_end(args);
  buffer[63] = 0;
  Assign(buffer);
  return produced;
}

}  // namespace UiToolkit
