// The words the main window's behaviour tells the user: each fixed text a constant, each text with parameters one
// function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr char kBrowseTitle[] = "Select the new folder";
inline constexpr char kWindowNotMadeText[] = "Zolvane could not make its main window.";
inline constexpr char kWorkBrokeOff[] = "The work broke off before it could tell how it ended.";
// The open-file dialog of the restore from a backup: its title and its filter.
inline constexpr char kImportDialogTitle[] = "Restore from backup";
inline constexpr char kImportFilter[] =
    "Zolvane backups (*.bak)|*.bak|Registry files (*.reg)|*.reg|All files (*.*)|*.*";

// The caption above the path box, for the selected folder's display name ("" for none).
std::string LocationCaption(const std::string& folderName);
// The question before a restore from a backup: which file, and how many values it changes.
std::string RestoreQuestion(const std::string& file, std::size_t changing);
std::string FileDialogFailed(std::int32_t error);
