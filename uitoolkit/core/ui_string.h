#pragma once
// Wide string with a 64-character inline buffer. Names, notification types and
// attribute values are short, so most strings never touch the heap.
#include <wchar.h>

namespace UiToolkit {

class CUiString {
 public:
  enum { kInlineChars = 64, kMaxInline = 62 };

  CUiString();
  CUiString(const wchar_t* text, int length = -1);
  CUiString(const CUiString& other);
  ~CUiString();

  // A null text counts as empty; length -1 means up to the terminator.
  void Assign(const wchar_t* text, int length = -1);
  void Append(const wchar_t* text);
  void AppendChar(wchar_t ch);
  void Clear();

  int GetLength() const { return static_cast<int>(wcslen(m_text)); }
  bool IsEmpty() const { return m_text[0] == 0; }
  const wchar_t* GetData() const { return m_text; }
  operator const wchar_t*() const { return m_text; }
  wchar_t GetAt(int index) const;
  // Whether the text lives in the inline buffer (exposed for tests).
  bool IsInline() const { return m_text == m_inline; }

  CUiString& operator=(const CUiString& other);
  CUiString& operator=(const wchar_t* text);
  CUiString& operator+=(const wchar_t* text);
  CUiString operator+(const wchar_t* text) const;
  bool operator==(const wchar_t* text) const;
  bool operator!=(const wchar_t* text) const { return !(*this == text); }
  int Compare(const wchar_t* text) const;
  int CompareNoCase(const wchar_t* text) const;

  CUiString Left(int n) const;
  // pos outside 0..length gives the empty string.
  CUiString Mid(int pos, int n = -1) const;
  int Find(const wchar_t* text, int from = 0) const;
  int Find(wchar_t ch, int from = 0) const;
  // Returns the number of replacements; an empty pattern replaces nothing.
  int ReplaceAll(const wchar_t* from, const wchar_t* to);
  void MakeUpper();

  // Returns the number of characters produced; on a formatting error the
  // string is cleared and -1 returned.
  int Format(const wchar_t* format, ...);
  // Formats into at most 63 characters.
  int FormatShort(const wchar_t* format, ...);

 private:
  void SetHeapText(wchar_t* block);
  wchar_t* m_text;
  wchar_t m_inline[kInlineChars];
};

}  // namespace UiToolkit
