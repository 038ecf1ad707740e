#pragma once
// The skinned scroll bar: two arrow buttons, a track, a thumb and a grip
// ("rail") centred on the thumb, each drawn from image strings per state.
// A bar owned by a container scrolls the container; a standalone bar moves
// its own position and sends "scroll". Press-and-hold repeats on the
// control timer.
#include <windows.h>

#include "uitoolkit/core/control.h"

namespace UiToolkit {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  // State bits of the buttons and the thumb.
  enum {
    kStateDisabled = 0x04,
    kStateHot = 0x08,
    kStatePushed = 0x10,
    kStateCaptured = 0x40,
  };
  // The control timer of press-and-hold and of thumb drags.
  enum { kRepeatTimerId = 10, kRepeatTimerMs = 50, kTicksBeforeRepeat = 6 };

  CScrollBarUI();
  ~CScrollBarUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;

  CContainerUI* GetOwner() const { return m_owner; }
  void SetOwner(CContainerUI* owner) { m_owner = owner; }

  bool IsHorizontal() const { return m_horizontal; }
  void SetHorizontal(bool horizontal = true);
  int GetScrollRange() const { return m_range; }
  void SetScrollRange(int range);
  int GetScrollPos() const { return m_pos; }
  void SetScrollPos(int pos);
  int GetLineSize() const { return m_lineSize; }
  void SetLineSize(int size) { m_lineSize = size; }
  bool IsShowButton1() const { return m_showButton1; }
  void SetShowButton1(bool show);
  bool IsShowButton2() const { return m_showButton2; }
  void SetShowButton2(bool show);

  const RECT& GetButton1Rect() const { return m_button1; }
  const RECT& GetButton2Rect() const { return m_button2; }
  const RECT& GetThumbRect() const { return m_thumb; }
  UINT GetButton1State() const { return m_button1State; }
  UINT GetButton2State() const { return m_button2State; }
  UINT GetThumbState() const { return m_thumbState; }

  void SetBounds(RECT rc) override;
  void SetVisible(bool visible = true) override;
  void SetEnabled(bool enabled = true) override;
  void SetFocus() override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void Paint(HDC hdc, const RECT& dirty) override;

  // The images, indexed by part and state (see SetImage).
  enum Part { kBack, kButton1, kButton2, kThumb, kRail, kPartCount };
  enum State { kNormal, kHot, kPushed, kDisabled, kStateCount };
  const CUiString& GetImage(Part part, State state) const { return m_images[part][state]; }
  void SetImage(Part part, State state, const wchar_t* image);

 private:
  void PlaceParts();
  // One step back (-1) or forward (+1), by line or by page, through the
  // owner when there is one.
  void LineStep(int direction);
  void PageStep(int direction);
  // The owner's position along this bar's axis set to `pos`.
  void MovePosition(int pos);
  void OnButtonDown(const TUiEvent& event);
  void OnMouseMove(const TUiEvent& event);
  void OnButtonUp();
  // One tick of the repeat timer; true when a step or a drag moved.
  bool OnRepeatTick();
  void PaintPart(HDC hdc, Part part, const RECT& rc, UINT state, bool frame);
  void PaintRail(HDC hdc);
  bool DrawStateImage(HDC hdc, Part part, UINT state, const wchar_t* modifier);
  // Along the bar's axis: y for a vertical bar, x for a horizontal one.
  int Along(POINT pt) const { return m_horizontal ? pt.x : pt.y; }

  bool m_horizontal;
  int m_range;
  int m_pos;
  int m_lineSize;
  CContainerUI* m_owner;
  POINT m_dragStart;
  int m_dragStartPos;
  int m_dragOffset;
  int m_repeatCount;
  CUiString m_images[kPartCount][kStateCount];
  bool m_showButton1;
  RECT m_button1;
  UINT m_button1State;
  bool m_showButton2;
  RECT m_button2;
  UINT m_button2State;
  RECT m_thumb;
  UINT m_thumbState;
  CUiString m_modifier;
};

}  // namespace UiToolkit
