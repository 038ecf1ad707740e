#pragma once
// Process-wide flags that the main window keeps and its pages read.
namespace MainFrameFlags {

// Whether the main window is meant to be visible (the tray toggles it).
bool Shown();
void SetShown(bool on);
// Set when a login has been announced to the home page, cleared at logout.
bool LoginAnnounced();
void SetLoginAnnounced(bool on);
// Set when the catalogue was opened from the home page (a favourite's or a
// scheme's detail); the catalogue page's back button then returns there.
bool OpenedFromHome();
void SetOpenedFromHome(bool on);

// Back to the start values (tests).
void ResetForTests();

}  // namespace MainFrameFlags
