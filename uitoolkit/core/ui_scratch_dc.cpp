#include "uitoolkit/core/ui_scratch_dc.h"

namespace UiToolkit {

namespace {

struct ThreadDC {
  HDC dc = nullptr;
  bool busy = false;
  ~ThreadDC() {
    if (dc) ::DeleteDC(dc);
  }
};

thread_local ThreadDC t_scratch;

}  // namespace

CUiScratchDC::CUiScratchDC(HBITMAP bitmap) : m_dc(nullptr), m_old(nullptr), m_own(false) {
  if (t_scratch.busy) {
    m_own = true;
    m_dc = ::CreateCompatibleDC(nullptr);
  } else {
    if (!t_scratch.dc) t_scratch.dc = ::CreateCompatibleDC(nullptr);
    m_dc = t_scratch.dc;
    t_scratch.busy = m_dc != nullptr;
  }
  if (m_dc && bitmap) m_old = ::SelectObject(m_dc, bitmap);
}

CUiScratchDC::~CUiScratchDC() {
  if (!m_dc) return;
  // The bitmap leaves the DC: a bitmap selected into one DC cannot be
  // selected into another, nor deleted.
  if (m_old) ::SelectObject(m_dc, m_old);
  if (m_own)
    ::DeleteDC(m_dc);
  else
    t_scratch.busy = false;
}

}  // namespace UiToolkit
