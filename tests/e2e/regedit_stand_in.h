// What the driver and its stand-in for the prefix's regedit.exe agree on: where the real one is set aside, and
// the environment variables (inherited through Zolvane) that tell the stand-in how to behave.
#pragma once

namespace e2e {

// Beside the stand-in, in the Windows folder: the real regedit.exe while the stand-in takes its place.
constexpr const wchar_t* kRealRegeditAside = L"zolvane_e2e_real_regedit.exe";
// A file to which each run appends its command line.
constexpr const wchar_t* kRegeditLogVariable = L"ZOLVANE_E2E_REGEDIT_LOG";
// Milliseconds to wait before the real regedit runs.
constexpr const wchar_t* kRegeditDelayVariable = L"ZOLVANE_E2E_REGEDIT_DELAY_MS";

}  // namespace e2e
