#include "uitoolkit/controls/rich_edit_rules.h"

#include <ole2.h>
#include <stdlib.h>
#include <textserv.h>
#include <wchar.h>

#include "uitoolkit/core/ui_render.h"

namespace UiToolkit {

void MakeDefaultCharFormat(const LOGFONTW& font, int pixelsPerInchY, DWORD argb,
                           CHARFORMAT2W* format) {
  ZeroMemory(format, sizeof(*format));
  format->cbSize = sizeof(*format);
  format->dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SIZE | CFM_COLOR | CFM_FACE |
                   CFM_OFFSET | CFM_CHARSET;
  // The toolkit makes its fonts with a negative height (character height);
  // a positive one (cell height) is taken as it stands rather than turned
  // into a negative size.
  if (pixelsPerInchY <= 0) pixelsPerInchY = 96;
  format->yHeight = abs(font.lfHeight) * 1440 / pixelsPerInchY;
  if (font.lfWeight >= FW_BOLD) format->dwEffects |= CFE_BOLD;
  if (font.lfItalic) format->dwEffects |= CFE_ITALIC;
  if (font.lfUnderline) format->dwEffects |= CFE_UNDERLINE;
  format->bCharSet = font.lfCharSet;
  format->bPitchAndFamily = font.lfPitchAndFamily;
  wcsncpy(format->szFaceName, font.lfFaceName, LF_FACESIZE - 1);
  format->szFaceName[LF_FACESIZE - 1] = 0;
  format->crTextColor = CUiRender::ToColorRef(argb);
}

void MakeDefaultParaFormat(DWORD style, PARAFORMAT2* format) {
  ZeroMemory(format, sizeof(*format));
  format->cbSize = sizeof(*format);
  format->dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS |
                   PFM_NUMBERING | PFM_RTLPARA | PFM_OFFSETINDENT;
  format->wAlignment = PFA_LEFT;
  if (style & ES_CENTER)
    format->wAlignment = PFA_CENTER;
  else if (style & ES_RIGHT)
    format->wAlignment = PFA_RIGHT;
  format->cTabCount = 1;
  format->rgxTabs[0] = 720;
}

bool WrapsWords(DWORD style) { return (style & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0; }

DWORD PropertyBitsFor(DWORD style, bool rich, bool wordWrap) {
  DWORD bits = 0;
  if (rich) bits |= TXTBIT_RICHTEXT;
  if (style & ES_MULTILINE) bits |= TXTBIT_MULTILINE;
  if (style & ES_READONLY) bits |= TXTBIT_READONLY;
  if (style & ES_PASSWORD) bits |= TXTBIT_USEPASSWORD;
  if (!(style & ES_NOHIDESEL)) bits |= TXTBIT_HIDESELECTION;
  if (wordWrap) bits |= TXTBIT_WORDWRAP;
  return bits;
}

DWORD ScrollBarBitsOf(DWORD style) {
  return style & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
}

SIZEL HimetricExtent(int width, int height, int pixelsPerInchX, int pixelsPerInchY) {
  if (pixelsPerInchX <= 0) pixelsPerInchX = 96;
  if (pixelsPerInchY <= 0) pixelsPerInchY = 96;
  SIZEL extent = {width * 2540 / pixelsPerInchX, height * 2540 / pixelsPerInchY};
  return extent;
}

int OverflowRange(LONG minPos, LONG maxPos, int extent) {
  LONGLONG overflow = static_cast<LONGLONG>(maxPos) - minPos - extent;
  if (overflow <= 0) return 0;
  return overflow > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(overflow);
}

ReturnKeyGate::Outcome ReturnKeyGate::Filter(UINT msg, WPARAM wParam, bool ctrlDown,
                                             bool wantReturn, bool wantCtrlReturn) {
  if (msg == WM_KEYDOWN) {
    // Only the character of the key-down just held back is held.
    m_holdChar = false;
    if (wParam == VK_RETURN && !(wantReturn && (!ctrlDown || wantCtrlReturn))) {
      m_holdChar = true;
      return kHoldAndReport;
    }
  } else if (msg == WM_CHAR && m_holdChar) {
    // The first character after it is the one it made.
    m_holdChar = false;
    if (wParam == L'\r' || wParam == L'\n') return kHold;
  }
  return kPass;
}

DWORD StyleWithAlignment(DWORD style, const wchar_t* value) {
  if (!value) return style;
  const DWORD kAlignment = ES_LEFT | ES_CENTER | ES_RIGHT;
  if (wcsstr(value, L"left")) style = (style & ~kAlignment) | ES_LEFT;
  if (wcsstr(value, L"center")) style = (style & ~kAlignment) | ES_CENTER;
  if (wcsstr(value, L"right")) style = (style & ~kAlignment) | ES_RIGHT;
  return style;
}

}  // namespace UiToolkit
