// Paths made full and put in their long form, "\\\\?\\", once for every call that may meet a path beyond MAX_PATH.
#include "platform/win32/long_path.h"

#include <windows.h>

#include <vector>

namespace platform {

// The size asked first; a path that grew longer in between is asked again, up to a few times.
std::string FullPathOf(const std::string& path) {
  WideText wide = Widen(path);
  DWORD size = ::GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
  for (int attempt = 0; attempt < 3 && size > 0; ++attempt) {
    std::vector<wchar_t> full(size);
    DWORD length = ::GetFullPathNameW(wide.data(), size, full.data(), nullptr);
    if (length == 0) break;
    if (length < size) return Narrow(full.data(), length);
    size = length;
  }
  return path;
}

std::string WithoutLongPrefix(const std::string& path) {
  if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\" + path.substr(7);
  if (path.compare(0, 4, "\\\\?\\") == 0) return path.substr(4);
  return path;
}

WideText WidenLong(const std::string& path) {
  if (path.compare(0, 4, "\\\\?\\") == 0) return Widen(path);
  std::string full = FullPathOf(path);
  if (full.compare(0, 2, "\\\\") == 0) return Widen("\\\\?\\UNC\\" + full.substr(2));
  return Widen("\\\\?\\" + full);
}

}  // namespace platform
