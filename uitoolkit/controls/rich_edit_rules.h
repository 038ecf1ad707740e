#pragma once
// The rich edit's settings turned into what its windowless text engine is
// told: the default character and paragraph formats, the property bits,
// the extent; and how the engine's scroll ranges and the Return key map
// onto the toolkit.
#include <windows.h>
#include <richedit.h>

namespace UiToolkit {

// The default character format of a font: its height in twips at the
// device's vertical resolution, bold from a weight of 700, italic,
// underline, character set, pitch and family, face, and the colour
// (0xAARRGGBB).
void MakeDefaultCharFormat(const LOGFONTW& font, int pixelsPerInchY, DWORD argb,
                           CHARFORMAT2W* format);

// The default paragraph format for an edit style: left aligned unless
// ES_CENTER or ES_RIGHT asks otherwise, one tab stop at half an inch.
void MakeDefaultParaFormat(DWORD style, PARAFORMAT2* format);

// Words wrap unless the text may scroll sideways.
bool WrapsWords(DWORD style);

// The TXTBIT_ property bits of an edit style.
DWORD PropertyBitsFor(DWORD style, bool rich, bool wordWrap);

// The style bits the engine reads as its scroll-bar settings.
DWORD ScrollBarBitsOf(DWORD style);

// The size of an area in HIMETRIC (0.01 mm) at the given resolutions.
SIZEL HimetricExtent(int width, int height, int pixelsPerInchX, int pixelsPerInchY);

// How far the toolkit bar may scroll for an engine range over an area
// `extent` pixels long: above 0 the bar is needed with that range, 0 means
// the text fits and the bar goes.
int OverflowRange(LONG minPos, LONG maxPos, int extent);

// Decides, key message by key message, whether Return reaches the engine.
// Return (Ctrl held or not) that is not wanted as a line break is held
// back and reported, and so is the character it makes next (CR, or LF
// with Ctrl), which would break the line all the same.
class ReturnKeyGate {
 public:
  enum Outcome { kPass, kHold, kHoldAndReport };

  ReturnKeyGate() : m_holdChar(false) {}
  Outcome Filter(UINT msg, WPARAM wParam, bool ctrlDown, bool wantReturn, bool wantCtrlReturn);

 private:
  bool m_holdChar;
};

// An "align" value over a style: "left", then "center", then "right" are
// looked for anywhere in it, a later match winning.
DWORD StyleWithAlignment(DWORD style, const wchar_t* value);

}  // namespace UiToolkit
