#pragma once
// A button whose state pictures are animated GIFs, one per state, each
// played frame by frame with the frame's own delay on a control timer.
// Input and notifications are the button's; only state painting differs.
#include "uitoolkit/controls/button.h"

namespace UiToolkit {

class CGifHandler;

class CButtonGifUI : public CButtonUI {
 public:
  // The control-local id of the animation timer.
  static const UINT kAnimationTimer = 15;

  CButtonGifUI();
  ~CButtonGifUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  void SetVisible(bool visible = true) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStateImage(HDC hdc) override;

  enum TGifState { kNormal, kHot, kPushed, kFocused, kDisabled, kStateCount };
  bool IsGifMode() const { return m_gifMode; }
  // Loads the GIF of a state (skin zip, resource folder or a path); an
  // empty name only turns GIF mode on.
  void SetGifFile(TGifState state, const wchar_t* name);
  CGifHandler* GetGifHandler(TGifState state) const { return m_gifs[state]; }
  // The delay the animation timer runs with, 0 while it is not armed.
  UINT GetArmedDelay() const { return m_armedDelay; }

 private:
  CGifHandler* StateHandler();
  void StopAnimation();

  bool m_gifMode;
  bool m_step;
  CGifHandler* m_gifs[kStateCount];
  UINT m_armedDelay;
};

}  // namespace UiToolkit
