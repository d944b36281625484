// Start-up marks for the profiling builds that bench/profile.sh runs; nothing in the product.
// Each names the step that has just ended. Zolvane.exe is built without ZOLVANE_STARTUP_PROFILE, so they compile
// to nothing there.
#pragma once

#ifdef ZOLVANE_STARTUP_PROFILE
// Records the step's name (a literal) and an index (-1 for none) with the performance counter's reading.
void StartupMark(const char* step, int index);
#define STARTUP_MARK(step) StartupMark(step, -1)
#define STARTUP_MARK_AT(step, index) StartupMark(step, static_cast<int>(index))
#else
#define STARTUP_MARK(step) ((void)0)
#define STARTUP_MARK_AT(step, index) ((void)0)
#endif
