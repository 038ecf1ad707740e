// The manager's fonts and the shared-resource chain they are looked up
// through. Images and default attribute lists live beside these in the
// skin-resource code.
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

HFONT CWindowManagerUI::MakeFont(const wchar_t* face, int size, bool bold, bool underline,
                                 bool italic) const {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  if (face) lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = -size;
  // Weights above 1000 are invalid: bold on an already heavy stock font is
  // capped instead of making font creation fail.
  if (bold) lf.lfWeight = lf.lfWeight + FW_BOLD > 1000 ? 1000 : lf.lfWeight + FW_BOLD;
  if (underline) lf.lfUnderline = TRUE;
  if (italic) lf.lfItalic = TRUE;
  return ::CreateFontIndirectW(&lf);
}

bool CWindowManagerUI::ReadMetrics(TUiFontInfo* info, HDC dc) {
  if (!info || info->tm.tmHeight != 0 || !dc) return false;
  HGDIOBJ old = ::SelectObject(dc, info->hFont);
  ::GetTextMetricsW(dc, &info->tm);
  ::SelectObject(dc, old);
  return true;
}

TUiFontInfo* CWindowManagerUI::DefaultFont() {
  CWindowManagerUI* top = this;
  while (top->m_resourceParent) top = top->m_resourceParent;
  top->ReadMetrics(&top->m_defaultFont, top->m_hdcWindow);
  return &top->m_defaultFont;
}

void CWindowManagerUI::ReplaceDefaultFont(const wchar_t* face, int size, bool bold,
                                          bool underline, bool italic) {
  HFONT font = MakeFont(face, size, bold, underline, italic);
  if (!font) return;
  if (m_defaultFont.hFont) ::DeleteObject(m_defaultFont.hFont);
  m_defaultFont.hFont = font;
  m_defaultFont.sFontName = face;
  m_defaultFont.iSize = size;
  m_defaultFont.bBold = bold;
  m_defaultFont.bUnderline = underline;
  m_defaultFont.bItalic = italic;
  ZeroMemory(&m_defaultFont.tm, sizeof(m_defaultFont.tm));
  ReadMetrics(&m_defaultFont, m_hdcWindow);
}

HFONT CWindowManagerUI::AddFontEntry(const wchar_t* face, int size, bool bold, bool underline,
                                     bool italic) {
  HFONT font = MakeFont(face, size, bold, underline, italic);
  if (!font) return nullptr;
  TUiFontInfo* info = new TUiFontInfo;
  info->hFont = font;
  info->sFontName = face;
  info->iSize = size;
  info->bBold = bold;
  info->bUnderline = underline;
  info->bItalic = italic;
  ReadMetrics(info, m_hdcWindow);
  if (!m_fonts.Add(info)) {
    ::DeleteObject(font);
    delete info;
    return nullptr;
  }
  return font;
}

HFONT CWindowManagerUI::FindFontEntry(const wchar_t* face, int size, bool bold, bool underline,
                                      bool italic) const {
  for (const CWindowManagerUI* m = this; m; m = m->m_resourceParent) {
    for (int i = 0; i < m->m_fonts.GetSize(); ++i) {
      TUiFontInfo* info = static_cast<TUiFontInfo*>(m->m_fonts.GetAt(i));
      if (info->sFontName == face && info->iSize == size && info->bBold == bold &&
          info->bUnderline == underline && info->bItalic == italic)
        return info->hFont;
    }
  }
  return nullptr;
}

TUiFontInfo* CWindowManagerUI::FontAt(int index) {
  TUiFontInfo* info = static_cast<TUiFontInfo*>(m_fonts.GetAt(index));
  if (info) {
    ReadMetrics(info, m_hdcWindow);
    return info;
  }
  // A popup borrowing its owner's skin asks for the owner's font indexes.
  if (m_resourceParent) return m_resourceParent->FontAt(index);
  return DefaultFont();
}

TUiFontInfo* CWindowManagerUI::FontInfoOf(HFONT font) {
  for (CWindowManagerUI* m = this; m; m = m->m_resourceParent) {
    for (int i = 0; i < m->m_fonts.GetSize(); ++i) {
      TUiFontInfo* info = static_cast<TUiFontInfo*>(m->m_fonts.GetAt(i));
      if (info->hFont == font) {
        m->ReadMetrics(info, m->m_hdcWindow);
        return info;
      }
    }
  }
  return DefaultFont();
}

void CWindowManagerUI::ClearFonts() {
  for (int i = 0; i < m_fonts.GetSize(); ++i) {
    TUiFontInfo* info = static_cast<TUiFontInfo*>(m_fonts.GetAt(i));
    ::DeleteObject(info->hFont);
    delete info;
  }
  m_fonts.Empty();
}

}  // namespace UiToolkit
