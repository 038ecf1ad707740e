#pragma once
// GDI+ for the whole process. Labels are built on worker threads as well as
// on the UI thread, so GDI+ is started once, under a lock, the first time
// anything needs it, and shut down when the process exits.
namespace UiToolkit {

// True when GDI+ is running (started now or earlier).
bool EnsureGdiplusStarted();

}  // namespace UiToolkit
