#include "uitoolkit/controls/gif_button.h"

#include <wchar.h>

#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/image/ui_render.h"

namespace UiToolkit {
namespace {

struct TGifAttribute {
  const wchar_t* name;
  CButtonGifUI::TGifState state;
};

const TGifAttribute kGifAttributes[] = {
    {L"NormalGifFile", CButtonGifUI::kNormal},   {L"HotGifFile", CButtonGifUI::kHot},
    {L"PushedGifFile", CButtonGifUI::kPushed},   {L"FocusedGifFile", CButtonGifUI::kFocused},
    {L"DisabledGifFile", CButtonGifUI::kDisabled},
};

}  // namespace

CButtonGifUI::CButtonGifUI() : m_gifMode(false), m_step(false), m_gifs{}, m_armedDelay(0) {}

CButtonGifUI::~CButtonGifUI() {
  StopAnimation();
  for (CGifHandler*& gif : m_gifs) {
    delete gif;
    gif = nullptr;
  }
}

const wchar_t* CButtonGifUI::ClassName() const { return L"ButtonGifUI"; }

// Not a "Button" nor a "Label" to those who ask: callers that treat those
// as plain buttons would paint it wrongly.
LPVOID CButtonGifUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"ButtonGif") == 0) return this;
  return CControlUI::FindInterface(name);
}

void CButtonGifUI::StopAnimation() {
  if (m_manager) m_manager->StopTimer(this, kAnimationTimer);
  m_armedDelay = 0;
}

void CButtonGifUI::SetVisible(bool visible) {
  if (!visible) StopAnimation();
  CButtonUI::SetVisible(visible);
}

void CButtonGifUI::OnEvent(TUiEvent& event) {
  if (event.Type == UIEVENT_TIMER && event.wParam == kAnimationTimer) {
    m_step = true;
    Invalidate();
    return;
  }
  CButtonUI::OnEvent(event);
}

void CButtonGifUI::SetGifFile(TGifState state, const wchar_t* name) {
  m_gifMode = true;
  if (!name || !*name) return;
  StopAnimation();
  delete m_gifs[state];
  m_gifs[state] = CUiRender::LoadGifFile(name);
  Invalidate();
}

void CButtonGifUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  for (const TGifAttribute& a : kGifAttributes) {
    if (wcscmp(name, a.name) == 0) {
      SetGifFile(a.state, value);
      return;
    }
  }
  CButtonUI::ApplyAttribute(name, value);
}

CGifHandler* CButtonGifUI::StateHandler() {
  RefreshFocusAndDisabled();
  TGifState state = kNormal;
  if (m_state & UISTATE_DISABLED)
    state = kDisabled;
  else if (m_state & UISTATE_PUSHED)
    state = kPushed;
  else if (m_state & UISTATE_HOT)
    state = kHot;
  else if (m_state & UISTATE_FOCUSED)
    state = kFocused;
  return m_gifs[state] ? m_gifs[state] : m_gifs[kNormal];
}

void CButtonGifUI::PaintStateImage(HDC hdc) {
  if (!m_gifMode) {
    CButtonUI::PaintStateImage(hdc);
    return;
  }
  const bool step = m_step;
  m_step = false;
  CGifHandler* gif = StateHandler();
  if (!gif || gif->stopped || gif->FrameCount() == 0) return;
  if (gif->currentFrame < 0 || gif->currentFrame >= gif->FrameCount()) gif->currentFrame = 0;
  // The timer ran for the shown frame's delay: step on, then show the next
  // frame, so the first frame is not held for two delays at the start.
  if (step) gif->currentFrame = (gif->currentFrame + 1) % gif->FrameCount();
  TUiGifFrame* frame = gif->FrameAt(gif->currentFrame);
  if (!frame || !frame->bitmap) return;
  const RECT source = {0, 0, frame->width, frame->height};
  const RECT corner = {0, 0, 0, 0};
  CUiRender::PaintBitmap(frame->bitmap, m_paintRect, source, hdc, m_bounds, corner,
                         frame->hasAlpha, 255, false, false, false);
  const UINT delay = frame->delay > 0 ? static_cast<UINT>(frame->delay) : 0;
  if (delay != m_armedDelay && m_manager) {
    m_manager->StopTimer(this, kAnimationTimer);
    m_armedDelay =
        (delay > 0 && m_manager->StartTimer(this, kAnimationTimer, delay)) ? delay : 0;
  }
}

}  // namespace UiToolkit
