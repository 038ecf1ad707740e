#pragma once
// The per-window engine: owns the control tree, turns window messages into
// control events, tracks hover, capture and focus, paints double-buffered,
// delivers notifications and runs control timers.
//
// Everything here runs on the thread that owns the window; the one way in
// from another thread is PostNotifyToWindow.
#include <windows.h>
#include <commctrl.h>

#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/ui_event.h"
#include "uitoolkit/core/ui_ptr_array.h"
#include "uitoolkit/core/ui_rect.h"
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/core/ui_string_map.h"

namespace UiToolkit {

class CControlUI;
struct TUiImageInfo;

struct TUiFontInfo {
  HFONT hFont = nullptr;
  CUiString sFontName;
  int iSize = 0;
  bool bBold = false;
  bool bUnderline = false;
  bool bItalic = false;
  TEXTMETRICW tm = {};
};

struct TUiTimer {
  CControlUI* pSender;
  UINT nLocalID;
  HWND hWnd;
  UINT uWinTimer;
  bool bKilled;
};

class CWindowManagerUI {
 public:
  CWindowManagerUI();
  ~CWindowManagerUI();

  // ---- process-wide state and message loops ----
  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  static void RunMessageLoop();
  // Gives a queued message to the manager of its window (key translators,
  // then PreTranslate). True when the message was consumed.
  static bool TranslateMessage(const MSG* msg);
  static int ManagerCount();
  // Key state bits: 0x01 right button, 0x02 left button, 0x04 Shift,
  // 0x08 Ctrl, 0x20 Alt.
  static WORD KeyState();
  // Thread-safe: hands a notification (no sender) to the manager of
  // `hwnd`, which queues it on its own thread and delivers it with the next
  // drain. False when the message could not be posted.
  static bool PostNotifyToWindow(HWND hwnd, const wchar_t* type, WPARAM wParam = 0,
                                 LPARAM lParam = 0);

  // ---- process-wide skin source (uitoolkit/window/skin_source.cpp) ----
  // The program file's folder with its trailing backslash; empty without
  // an instance.
  static CUiString ProgramFolder();
  static HINSTANCE ResourceModule();
  // Adds a trailing backslash; none or empty clears the folder.
  static void SetResourceFolder(const wchar_t* folder);
  static CUiString GetResourceFolder();
  // Opens resource folder + name as the skin zip, kept open for later
  // windows; nothing when that zip is already open. An empty name closes
  // the open zip. False when the zip cannot be opened.
  static bool UseSkinZipFile(const wchar_t* name);
  // Opens the process-wide copy of a zip held in the program's resources.
  static bool UseSkinZipInMemory(const void* bytes, DWORD size);
  static CUiString GetSkinZipName();

  // ---- life cycle ----
  void AttachWindow(HWND hwnd);
  HWND GetWindow() const { return m_hwnd; }
  HDC GetWindowDC() const { return m_hdcWindow; }
  bool AttachRoot(CControlUI* root);
  CControlUI* GetRoot() const { return m_root; }
  bool HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool PreTranslate(MSG* msg);
  void SetWindowAlpha(int alpha);
  int GetWindowAlpha() const { return m_alpha; }
  CControlUI* ControlAt(POINT pt) const;
  CControlUI* FindControl(const wchar_t* name) const;
  // Erases the name's entry when it maps to that control.
  void ForgetName(const wchar_t* name, CControlUI* control);
  // Enters every named control of the subtree into the name map.
  void RegisterNames(CControlUI* subtree);
  POINT GetMousePos() const { return m_lastMouse; }

  // ---- layout and painting state ----
  bool IsUpdateNeeded() const { return m_updateNeeded; }
  void NeedUpdate() { m_updateNeeded = true; }
  // Each call costs a round trip to the display server, so an area inside
  // what is already known to be pending for the next paint is skipped.
  void Invalidate(const RECT& rc);
  void InvalidateAll();
  // Forgets what is known to be pending: the next invalidation reaches the
  // window whatever its area (after a paint, or when the window changes).
  void ForgetPendingInvalid() { m_pendingCount = 0; }
  // Scrolling: moves what is drawn inside `area` by (dx, dy) in the
  // window's offscreen image, so that the next paint draws only what came
  // into view and what changes from now on. False, with nothing done, when
  // the image cannot be trusted (nothing painted yet, a layout or an
  // overlay pending, a child window over the area): the caller then
  // invalidates as usual. Until EndScrollMove, invalidations inside the
  // area are those of the moving children, whose pixels moved already.
  bool BeginScrollMove(const RECT& area, int dx, int dy);
  void EndScrollMove() { m_moving = false; }
  bool IsShowDirty() const { return m_showDirty; }
  void SetShowDirty(bool on) { m_showDirty = on; }
  bool IsBackgroundSnapshot() const { return m_backgroundSnapshot; }
  void SetBackgroundSnapshot(bool on) { m_backgroundSnapshot = on; }
  SIZE GetMinInfo() const { return m_minInfo; }
  void SetMinInfo(SIZE size) { m_minInfo = size; }
  SIZE GetMaxInfo() const { return m_maxInfo; }
  void SetMaxInfo(SIZE size) { m_maxInfo = size; }
  SIZE GetInitSize() const { return m_initSize; }
  void SetInitSize(SIZE size) { m_initSize = size; }
  RECT GetSizeBox() const { return m_sizeBox; }
  void SetSizeBox(RECT rc) { m_sizeBox = rc; }
  SIZE GetRoundCorner() const { return m_roundCorner; }
  void SetRoundCorner(SIZE size) { m_roundCorner = size; }
  RECT GetCaption() const { return m_caption; }
  void SetCaption(RECT rc) { m_caption = rc; }

  // ---- notifications ----
  void EmitNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0,
                  bool async = false);
  void EmitNotifyRecord(TUiNotify& msg, bool async = false);
  void SetVirtualWindowsUsed() { m_virtualWindowsUsed = true; }
  int QueuedNotifyCount() const { return m_queuedNotifies.GetSize(); }

  // ---- timers ----
  bool StartTimer(CControlUI* control, UINT id, UINT elapse);
  bool StopTimer(CControlUI* control, UINT id);
  void StopTimers(CControlUI* control);
  void ClearTimers();
  // The Win32 id of a control timer, 0 when none (for tests and tools).
  UINT TimerWin32Id(CControlUI* control, UINT id) const;

  // ---- focus ----
  CControlUI* GetFocusControl() const { return m_focus; }
  void SetFocusControl(CControlUI* control);
  bool MoveTabFocus(bool forward);
  void FocusOnNextPaint(CControlUI* control);
  CControlUI* GetHoverControl() const { return m_hover; }
  CControlUI* GetCaptureControl() const { return m_capture; }
  // Lets go of the mouse captured at a button press, for a control that
  // hands the rest of the click to a native child window.
  void ReleaseMouseCapture() {
    ::ReleaseCapture();
    m_mouseCaptured = false;
  }
  // Takes the mouse for a control whose input another party drives (the
  // rich edit's engine while it selects with the mouse).
  void CaptureMouse() {
    ::SetCapture(m_hwnd);
    m_mouseCaptured = true;
  }

  // ---- option groups ----
  bool JoinOptionGroup(const wchar_t* group, CControlUI* control);
  CUiPtrArray* OptionGroup(const wchar_t* group);
  void LeaveOptionGroup(const wchar_t* group, CControlUI* control);
  void ClearOptionGroups();

  // ---- deferred deletion ----
  // The control and everything below it are marked removed (they paint,
  // notify and activate no more) and wait for deletion. Waiting controls
  // are deleted only while no control event or notification of this
  // manager is being dispatched: a click handler that runs a modal loop
  // keeps every control alive until it has returned into them.
  void DeleteLater(CControlUI* control);
  int PendingDeletionCount() const { return m_deleteLater.GetSize(); }
  // How many control events and notification deliveries of this manager
  // are on the stack (for tests).
  int DispatchDepth() const { return m_dispatchDepth; }

  // ---- registries ----
  // A receiver leaves every manager's list when it is destroyed.
  bool AddNotifyReceiver(INotifyUI* receiver);
  bool RemoveNotifyReceiver(INotifyUI* receiver);
  bool AddPreFilter(IMessageFilterUI* filter);
  bool RemovePreFilter(IMessageFilterUI* filter);
  bool AddWindowMessageFilter(IMessageFilterUI* filter);
  bool RemoveWindowMessageFilter(IMessageFilterUI* filter);
  bool AddPostPainter(CControlUI* control);
  bool RemovePostPainter(CControlUI* control);
  bool AddKeyTranslator(ITranslateAccelerator* translator);
  bool RemoveKeyTranslator(ITranslateAccelerator* translator);
  // How many of each are registered (for tests).
  int WindowMessageFilterCount() const { return m_messageFilters.GetSize(); }
  int NotifyReceiverCount() const { return m_receivers.GetSize(); }
  int KeyTranslatorCount() const { return m_translators.GetSize(); }

  // ---- colours (read from the top of the shared-resource chain) ----
  DWORD DisabledTextColor() const;
  DWORD DefaultTextColor() const;
  DWORD LinkColor() const;
  DWORD LinkHoverColor() const;
  DWORD SelectedColor() const;
  void SetDisabledTextColor(DWORD c) { m_colorDisabled = c; }
  void SetDefaultTextColor(DWORD c) { m_colorText = c; }
  void SetLinkColor(DWORD c) { m_colorLink = c; }
  void SetLinkHoverColor(DWORD c) { m_colorLinkHover = c; }
  void SetSelectedColor(DWORD c) { m_colorSelected = c; }

  // Clears every reference to a control that is being deleted.
  void ForgetControl(CControlUI* control);
  // Takes a receiver that is being destroyed out of every manager.
  static void ForgetReceiver(INotifyUI* receiver);

  // ---- fonts and shared resources ----
  // Images and default attribute lists of the skin plug in beside these.
  TUiFontInfo* DefaultFont();
  void ReplaceDefaultFont(const wchar_t* face, int size, bool bold, bool underline, bool italic);
  HFONT AddFontEntry(const wchar_t* face, int size, bool bold, bool underline, bool italic);
  HFONT FindFontEntry(const wchar_t* face, int size, bool bold, bool underline, bool italic) const;
  TUiFontInfo* FontAt(int index);
  TUiFontInfo* FontInfoOf(HFONT font);
  int FontCount() const { return m_fonts.GetSize(); }
  void ClearFonts();
  void SetResourceParent(CWindowManagerUI* parent);
  CWindowManagerUI* GetResourceParent() const { return m_resourceParent; }

  // ---- images and default attribute lists (manager_resources.cpp) ----
  // Images belong to this manager alone; they are not shared up the chain.
  TUiImageInfo* ImageFor(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0);
  TUiImageInfo* AddImageEntry(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0);
  int ImageCount() const { return m_images.GetSize(); }
  void ClearImages();
  void AddDefaultAttributes(const wchar_t* tag, const wchar_t* attributes);
  // This manager's list for the tag, else the nearest one up the chain.
  const wchar_t* DefaultAttributes(const wchar_t* tag) const;
  void ClearDefaultAttributes();

  // ---- tree visitors ----
  static CControlUI* CALLBACK FindVisitRegisterName(CControlUI* control, LPVOID data);
  static CControlUI* CALLBACK FindVisitPointHit(CControlUI* control, LPVOID data);
  static CControlUI* CALLBACK FindVisitNextTabStop(CControlUI* control, LPVOID data);
  static CControlUI* CALLBACK FindVisitShortcut(CControlUI* control, LPVOID data);
  static CControlUI* CALLBACK FindVisitNeedsUpdate(CControlUI* control, LPVOID data);

 private:
  CWindowManagerUI(const CWindowManagerUI&) = delete;
  CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

  const CWindowManagerUI* TopManager() const;
  CControlUI* HitControl(POINT pt) const;
  void SendEvent(CControlUI* control, int type, CControlUI* sender, POINT pt, WPARAM wParam = 0,
                 LPARAM lParam = 0, WORD keyState = 0, WCHAR key = 0);
  void DrainQueuedNotifies();
  void DeliverToReceivers(TUiNotify& msg);
  void DeletePendingControls();
  // Brackets every dispatch of a control event or a notification; the last
  // one out asks for the deletions that waited meanwhile.
  void EnterDispatch() { ++m_dispatchDepth; }
  void LeaveDispatch();
  static CControlUI* CALLBACK FindVisitMarkRemoved(CControlUI* control, LPVOID data);
  void HideToolTip();
  bool HandleMouseMove(LPARAM lParam);
  bool HandleMouseHover(LPARAM lParam);
  void Paint();
  void DeleteOffscreen();
  bool ReadMetrics(TUiFontInfo* info, HDC dc);
  HFONT MakeFont(const wchar_t* face, int size, bool bold, bool underline, bool italic) const;
  CControlUI* FindTabStop(CControlUI* start, bool forward) const;

  HWND m_hwnd;
  int m_alpha;
  HDC m_hdcWindow;
  HDC m_hdcOffscreen;
  HDC m_hdcBackground;
  HBITMAP m_bmpOffscreen;
  HBITMAP m_bmpBackground;
  HWND m_tooltip;
  TOOLINFOW m_toolInfo;
  // Rectangles invalidated since the last paint, each wholly inside the
  // window's update region (merged only where their union is a rectangle:
  // the paint is clipped to the region itself, not to its bounding box).
  enum { kPendingRects = 8 };
  RECT m_pendingInvalid[kPendingRects];
  int m_pendingCount;
  void RecordPendingInvalid(const RECT& rc);
  // The part of the window's update region whose pixels the offscreen
  // image already holds (moved there by a scroll), or null.
  HRGN m_drawnAhead = nullptr;
  // Every pixel of the offscreen image was painted since it was made.
  bool m_offscreenComplete = false;
  bool m_moving = false;
  RECT m_moveArea = {0, 0, 0, 0};
  void ForgetDrawnAhead();
  bool m_showDirty;
  CControlUI* m_root;
  CControlUI* m_focus;
  CControlUI* m_hover;
  CControlUI* m_capture;
  CControlUI* m_keyControl;
  POINT m_lastMouse;
  SIZE m_minInfo;
  SIZE m_maxInfo;
  SIZE m_initSize;
  RECT m_sizeBox;
  SIZE m_roundCorner;
  RECT m_caption;
  UINT m_timerCounter;
  bool m_firstPaint;
  bool m_updateNeeded;
  bool m_focusNeeded;
  bool m_backgroundSnapshot;
  bool m_mouseTracking;
  bool m_mouseCaptured;
  bool m_virtualWindowsUsed;
  CUiPtrArray m_receivers;
  CUiPtrArray m_timers;
  CUiPtrArray m_preFilters;
  CUiPtrArray m_messageFilters;
  CUiPtrArray m_postPainters;
  CUiPtrArray m_deleteLater;
  CUiPtrArray m_queuedNotifies;
  CUiStringMap m_names;
  CUiStringMap m_optionGroups;
  CWindowManagerUI* m_resourceParent;
  DWORD m_colorDisabled;
  DWORD m_colorText;
  DWORD m_colorLink;
  DWORD m_colorLinkHover;
  DWORD m_colorSelected;
  TUiFontInfo m_defaultFont;
  CUiPtrArray m_fonts;
  CUiStringMap m_images;
  CUiStringMap m_defaultAttributes;
  CUiPtrArray m_translators;
  int m_dispatchDepth = 0;
  // The control pressed under a tip: no tip shows again until the pointer
  // has left it (a click that opens a menu leaves the pointer resting
  // there, and a tip over the menu would take the menu's next click).
  const CControlUI* m_tipSilenced = nullptr;
};

}  // namespace UiToolkit
