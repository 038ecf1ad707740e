#pragma once
// The base of every element of a skinned window: name, text, position
// rules, visibility and input flags, colours, border and background image.
#include <windows.h>

#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/ui_delegate.h"
#include "uitoolkit/core/ui_event.h"
#include "uitoolkit/core/ui_rect.h"
#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

class CWindowManagerUI;

struct TUiRelativePos {
  bool bRelative;
  SIZE szParent;
  int nMoveXPercent;
  int nMoveYPercent;
  int nZoomXPercent;
  int nZoomYPercent;
};

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();

  virtual CUiString GetName() const;
  virtual void SetName(const wchar_t* name);
  virtual const wchar_t* ClassName() const;
  // "Control" gives the control itself. A rich edit that wants Tab
  // characters answers "WantTab", so the manager leaves Tab to it.
  virtual LPVOID FindInterface(const wchar_t* name);
  virtual UINT CapabilityFlags() const;
  virtual bool Activate();
  virtual CWindowManagerUI* GetManager() const;
  virtual void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize = true);
  virtual CControlUI* GetParent() const;
  virtual CUiString GetText() const;
  virtual void SetText(const wchar_t* text);

  virtual const RECT& GetBounds() const;
  virtual void SetBounds(RECT rc);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetLeft() const;
  virtual int GetTop() const;

  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT rc);
  virtual POINT GetFixedOrigin() const;
  virtual void SetFixedOrigin(POINT pt);
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);

  virtual void SetRelativePos(int move_x, int move_y, int zoom_x, int zoom_y);
  virtual void SetRelativeParentSize(SIZE size);
  virtual TUiRelativePos GetRelativePos() const;
  virtual bool IsRelativePos() const;

  virtual CUiString GetToolTip() const;
  virtual void SetToolTip(const wchar_t* text);
  virtual void SetToolTipWidth(int width);
  virtual int GetToolTipWidth() const;
  virtual wchar_t GetShortcut() const;
  virtual void SetShortcut(wchar_t ch);
  virtual bool IsContextMenuEnabled() const;
  virtual void SetContextMenuEnabled(bool enabled);
  virtual const CUiString& GetUserData() const;
  virtual void SetUserData(const wchar_t* text);
  virtual UINT_PTR GetTag() const;
  virtual void SetTag(UINT_PTR tag);

  virtual bool IsVisible() const;
  virtual void SetVisible(bool visible = true);
  virtual void SetInheritedVisible(bool visible = true);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool enabled = true);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool enabled = true);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool enabled = true);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool IsFloat() const;
  virtual void SetFloat(bool is_float = true);

  virtual CControlUI* Search(FindControlProc proc, LPVOID data, UINT flags);
  virtual void Initialize();
  virtual void OnInitialize();
  virtual void HandleEvent(TUiEvent& event);
  virtual void OnEvent(TUiEvent& event);
  virtual void ApplyAttribute(const wchar_t* name, const wchar_t* value);
  virtual SIZE MeasureSize(SIZE available);

  virtual void Paint(HDC hdc, const RECT& dirty);
  virtual void PaintBackColor(HDC hdc);
  virtual void PaintBackImage(HDC hdc);
  virtual void PaintStateImage(HDC hdc);
  virtual void PaintText(HDC hdc);
  virtual void PaintBorder(HDC hdc);
  virtual void PaintIcon(HDC hdc);
  virtual void PaintOverlay(HDC hdc, const RECT& dirty);

  // Non-virtual helpers.
  void ApplyAttributeList(const wchar_t* list);
  void SetVirtualWindow(const wchar_t* name);
  CUiString GetVirtualWindow() const;
  void Invalidate();
  // Set by the manager when the control is handed to deferred deletion
  // (itself or an ancestor). A removed control may still be returned into
  // by an event that was running; from then on it repaints, relays out,
  // activates and notifies no more.
  bool IsRemoved() const { return m_removed; }
  void MarkRemoved() { m_removed = true; }
  bool IsUpdateNeeded() const { return m_updateNeeded; }
  void RequestRelayout();
  void RequestParentRelayout();
  bool DrawImage(HDC hdc, const wchar_t* image, const wchar_t* modifier = nullptr);

  DWORD GetBkColor() const { return m_bkColor1; }
  void SetBkColor(DWORD color);
  DWORD GetBkColor2() const { return m_bkColor2; }
  void SetBkColor2(DWORD color);
  DWORD GetBkColor3() const { return m_bkColor3; }
  void SetBkColor3(DWORD color);
  const CUiString& GetBkImage() const { return m_bkImage; }
  void SetBkImage(const wchar_t* image);
  DWORD GetBorderColor() const { return m_borderColor; }
  void SetBorderColor(DWORD color);
  DWORD GetFocusBorderColor() const { return m_focusBorderColor; }
  void SetFocusBorderColor(DWORD color);
  bool IsColorHsl() const { return m_colorHsl; }
  void SetColorHsl(bool on);
  int GetBorderSize() const { return m_borderSize; }
  void SetBorderSize(int size);
  RECT GetBorderSizes() const { return m_borderSides; }
  void SetBorderSizes(RECT sides);
  int GetBorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(int style);
  SIZE GetBorderRound() const { return m_borderRound; }
  void SetBorderRound(SIZE size);
  HICON GetIcon() const { return m_icon; }
  SIZE GetIconSize() const { return m_iconSize; }
  void SetIcon(HICON icon);
  const RECT& GetPaintRect() const { return m_paintRect; }

  CUiEventSource OnInitDelegates;
  CUiEventSource OnDestroyDelegates;
  CUiEventSource OnSizeDelegates;
  CUiEventSource OnEventDelegates;
  CUiEventSource OnNotifyDelegates;

 protected:
  // Colour as painted: passed through the HSL shift when the flag is on.
  DWORD AdjustColor(DWORD color) const;
  // Sends a notification through the manager (none without a manager).
  void Emit(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0);

  CWindowManagerUI* m_manager;
  CControlUI* m_parent;
  CUiString m_virtualWnd;
  CUiString m_name;
  bool m_updateNeeded;
  bool m_contextMenu;
  CUiRect m_bounds;
  RECT m_padding;
  POINT m_fixedXY;
  SIZE m_fixedSize;
  SIZE m_minSize;
  SIZE m_maxSize;
  bool m_visible;
  bool m_inheritedVisible;
  bool m_enabled;
  bool m_mouseEnabled;
  bool m_keyboardEnabled;
  bool m_focused;
  bool m_float;
  bool m_inSizeDelegates;
  TUiRelativePos m_relative;
  CUiString m_text;
  CUiString m_toolTip;
  wchar_t m_shortcut;
  CUiString m_userData;
  UINT_PTR m_tag;
  DWORD m_bkColor1;
  DWORD m_bkColor2;
  DWORD m_bkColor3;
  CUiString m_bkImage;
  CUiString m_foreImage;
  DWORD m_borderColor;
  DWORD m_focusBorderColor;
  bool m_colorHsl;
  int m_borderSize;
  int m_borderStyle;
  int m_toolTipWidth;
  SIZE m_borderRound;
  RECT m_paintRect;
  RECT m_borderSides;
  SIZE m_iconSize;
  HICON m_icon;
  bool m_removed = false;

 private:
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
};

}  // namespace UiToolkit
