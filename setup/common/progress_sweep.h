#pragma once

// The next value of a progress bar that sweeps without end while work of
// unknown length runs: up to 100, then again from 2.
inline int NextSweepValue(int value) { return value >= 100 ? 2 : value + 1; }
