#pragma once
// What every modal dialog of the client shares: its window style, how it
// is shown over its owner, and the tip line of the two message boxes.
#include <windows.h>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/window/modal_dialog.h"

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION |
// WS_SYSMENU; the skin's "size" sizes the window.
const DWORD kModalDialogStyle = 0x96C80000;

// Creates `dialog` over `owner` (none: the work area) with `title`, centres
// it, runs its modal loop and then deletes it; a window still open after
// the loop (a quit ended it) is destroyed first. Returns RunModal's result,
// or -1 when the window could not be created.
int RunModalDialog(UiToolkit::CModalDialog* dialog, HWND owner, const wchar_t* title = L"");

// The message as the boxes show it: the tip icon, then the text.
UiToolkit::CUiString TipMessageMarkup(const wchar_t* text);

// Turns a box's tip button into its message line: markup on, the text,
// disabled (it neither highlights nor reacts), black when disabled.
void ShowTipMessage(UiToolkit::CButtonUI* tip, const UiToolkit::CUiString& markup);
