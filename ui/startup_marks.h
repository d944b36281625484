// Start-up marks for the profiling build (bench/profile.sh): each names the step that has just ended. The
// product is built without ZOLVANE_STARTUP_PROFILE, so they cost it nothing.
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
