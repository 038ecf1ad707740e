#pragma once
#include <windows.h>

// Named kernel objects shared with the setup programs.
extern const wchar_t kClientMutexName[];
extern const wchar_t kShutdownEventName[];

// Creates the single-instance mutex. When another client holds it, ends the
// process at once with exit code 0. Otherwise starts the shutdown watcher
// and returns the mutex handle.
HANDLE EnsureSingleInstance();

// The "shutdown" run: asks a running client to quit and waits, without
// limit, until no client holds the single-instance mutex.
void RequestShutdownAndWait();

// Body of the shutdown watcher thread: waits for the shutdown event, then
// posts the tray-exit command to the main window once it exists.
void ShutdownWatcher();
