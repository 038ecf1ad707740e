#pragma once
// The test COM module fake_activex.dll: ActiveX objects that record what
// their host does to them. Load it by its path (a control's "modulename");
// its exports are read with GetProcAddress. The record is plain text, one
// line per call, for example "DoVerb -5", "QueryHitPoint 120,40",
// "OnWindowMessage 0x0100", "Navigate2 about:blank", "Advise 1".
#include <windows.h>

namespace fake_activex {

// A windowless object: draws a green rectangle, hit-tests its bounds,
// records the window messages it is given.
inline const CLSID kClsidWindowless = {
    0x6b1c1f10, 0x2b1e, 0x4c1a, {0x9d, 0x41, 0x51, 0x0e, 0x7a, 0x11, 0x00, 0x01}};
// A windowed object: a child window of its own inside the host's window.
inline const CLSID kClsidWindowed = {
    0x6b1c1f10, 0x2b1e, 0x4c1a, {0x9d, 0x41, 0x51, 0x0e, 0x7a, 0x11, 0x00, 0x02}};
// A windowed object that is also a web browser: IWebBrowser2 (Navigate2 is
// recorded), DWebBrowserEvents2 connection point, a document with
// ICustomDoc, IOleInPlaceActiveObject::TranslateAccelerator.
inline const CLSID kClsidBrowser = {
    0x6b1c1f10, 0x2b1e, 0x4c1a, {0x9d, 0x41, 0x51, 0x0e, 0x7a, 0x11, 0x00, 0x03}};

// The colour the windowless object draws.
const COLORREF kDrawColour = RGB(32, 160, 96);
// The window class of the windowed objects' own windows.
const wchar_t kChildClass[] = L"FakeActiveXChild";

// Exports.
extern "C" {
// Copies the record (lines joined by '\n') into `buffer`; returns its
// whole length.
typedef int (*RecordFn)(char* buffer, int capacity);
// Clears the record and every option.
typedef void (*ResetFn)();
// fake_live_objects: objects alive now (one per object made: what the
//   record's "create" and "destroy" lines count).
// fake_live_parts: the browsers' documents and connection points alive.
// fake_held_host_refs: references the module's objects hold on the host.
// fake_open_advises: Advise calls never matched by Unadvise.
typedef long (*CountFn)();
// Options: "misc_status" (OLEMISC bits added), "fail_initnew" (non-zero:
// InitNew fails), "window_message_result" (what OnWindowMessage returns),
// "accelerator_result" (what TranslateAccelerator returns).
typedef void (*SetOptionFn)(const char* name, long value);
}

}  // namespace fake_activex
