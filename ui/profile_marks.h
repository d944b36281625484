// Marks for the profiling builds that bench/profile.sh and bench/run.sh run; nothing in the product.
// Each names the step that has just ended: the start-up's steps, a command received, a message box called, a
// wait for an export begun or ended. Zolvane.exe is built without ZOLVANE_PROFILE, so they compile to nothing
// there.
#pragma once

#ifdef ZOLVANE_PROFILE
// Records the step's name (a literal) and an index (-1 for none) with the performance counter's reading; any
// thread may mark.
void ProfileMark(const char* step, int index);
#define PROFILE_MARK(step) ProfileMark(step, -1)
#define PROFILE_MARK_AT(step, index) ProfileMark(step, static_cast<int>(index))
#else
#define PROFILE_MARK(step) ((void)0)
#define PROFILE_MARK_AT(step, index) ((void)0)
#endif
