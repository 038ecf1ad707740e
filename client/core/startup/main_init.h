#pragma once

// The start routine of a normal start: opens the log beside the program and
// starts the background services. Always returns true.
bool MainInit();
