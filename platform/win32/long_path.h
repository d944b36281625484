// Paths as the wide calls take them: made full, and in the "\\\\?\\" form that lets a path be longer than MAX_PATH.
#pragma once

#include <string>

#include "platform/win32/wide_text.h"

namespace platform {

// The path made full against the current folder; the path as it is when the system cannot make it full.
std::string FullPathOf(const std::string& path);
// "\\\\?\\C:\\x" is "C:\\x", and "\\\\?\\UNC\\server\\share" is "\\\\server\\share".
std::string WithoutLongPrefix(const std::string& path);
// The path full and behind "\\\\?\\" ("\\\\?\\UNC\\" for a share), for a wide call: the system then takes it as it
// is, up to 32767 characters, so it is made full (".." and "/" resolved) first.
WideText WidenLong(const std::string& path);

}  // namespace platform
