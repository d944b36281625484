// Files by path: a path made full, whether one is there, a whole file read once and bounded, a new file written and
// flushed, a file deleted, and one put in the place of another.
#include <windows.h>

#include <vector>

#include "platform/win32/long_path.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

std::string Win32Files::FullPath(const std::string& path) {
  return FullPathOf(path);
}

namespace {

// GetLongPathNameW, which answers only for what exists: 0 (and the system's code) otherwise.
std::string LongPathOf(const std::string& path) {
  WideText wide = Widen(path);
  // A buffer that holds most paths: GetLongPathName walks the path's folders each time it is called, so asking
  // first for the size would walk them twice.
  DWORD size = MAX_PATH + 1;
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<wchar_t> longer(size);
    DWORD length = ::GetLongPathNameW(wide.data(), longer.data(), size);
    if (length == 0) break;
    if (length < size) return Narrow(longer.data(), length);
    size = length;
  }
  return std::string();
}

}  // namespace

// A file that is not there yet has no long name of its own: its folder's long path and its name as given.
std::string Win32Files::LongFullPath(const std::string& path) {
  std::string full = WithoutLongPrefix(FullPath(WithoutLongPrefix(path)));
  std::string longer = LongPathOf(full);
  if (!longer.empty()) return longer;
  std::size_t slash = full.find_last_of('\\');
  if (slash == std::string::npos) return full;
  std::string folder = LongPathOf(full.substr(0, slash + 1));
  if (folder.empty()) return full;
  if (folder.back() != '\\') folder += '\\';
  return folder + full.substr(slash + 1);
}

std::int32_t Win32Files::CreateFolder(const std::string& path) {
  if (::CreateDirectoryW(Widen(path).data(), nullptr)) return 0;
  return static_cast<std::int32_t>(GetLastError());
}

bool Win32Files::IsReadOnly(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(Widen(path).data());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool Win32Files::Exists(const std::string& path) {
  return ::GetFileAttributesW(Widen(path).data()) != INVALID_FILE_ATTRIBUTES;
}

// FILE_SHARE_READ only: a file that another program still has open for writing is refused (error 32), and
// nobody can change it while it is read. Its type and size are asked before anything is read, so that a device
// or a pipe, which might never end, is never read from.
bool Win32Files::IsFolder(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(Widen(path).data());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::int32_t Win32Files::ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes) {
  ScopedHandle file(::CreateFileW(Widen(path).data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    DWORD code = GetLastError();
    DWORD attributes = ::GetFileAttributesW(Widen(path).data());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return folder ? ERROR_BAD_FILE_TYPE : static_cast<std::int32_t>(code);
  }
  std::int32_t code = 0;
  LARGE_INTEGER size;
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    code = ERROR_BAD_FILE_TYPE;
  } else if (!::GetFileSizeEx(file.get(), &size)) {
    code = static_cast<std::int32_t>(GetLastError());
  } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    code = ERROR_FILE_TOO_LARGE;
  }
  std::string content;
  char chunk[65536];
  while (code == 0) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
      code = static_cast<std::int32_t>(GetLastError());
    } else if (got == 0) {
      break;
    } else if (content.size() + got > maxBytes) {
      code = ERROR_FILE_TOO_LARGE;  // it grew after its size was asked
    } else {
      content.append(chunk, got);
    }
  }
  if (code == 0) *bytes = std::move(content);
  return code;
}

std::int32_t Win32Files::WriteNewFile(const std::string& path, const std::string& bytes) {
  ScopedHandle file(
      ::CreateFileW(Widen(path).data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return static_cast<std::int32_t>(GetLastError());
  std::int32_t code = 0;
  std::size_t done = 0;
  while (code == 0 && done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > 65536 ? 65536 : bytes.size() - done);
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr))
      code = static_cast<std::int32_t>(GetLastError());
    done += written;
  }
  // On the disk before it takes the place of anything: a power cut must not leave a backup that never was.
  if (code == 0 && !::FlushFileBuffers(file.get())) code = static_cast<std::int32_t>(GetLastError());
  if (!file.Close() && code == 0) code = static_cast<std::int32_t>(GetLastError());
  return code;
}

// FILE_APPEND_DATA without FILE_WRITE_DATA: the system puts each write at the end of the file as it is then, so
// two writers never write over each other; one WriteFile of the whole text keeps it in one piece (over SMB too,
// for a text well under a network write's size).
std::int32_t Win32Files::AppendToFile(const std::string& path, const std::string& bytes) {
  ScopedHandle file(::CreateFileW(Widen(path).data(), FILE_APPEND_DATA | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return static_cast<std::int32_t>(GetLastError());
  DWORD written = 0;
  std::int32_t code = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    code = static_cast<std::int32_t>(GetLastError());
  } else if (written != bytes.size()) {
    code = ERROR_DISK_FULL;
  }
  if (!file.Close() && code == 0) code = static_cast<std::int32_t>(GetLastError());
  return code;
}

std::int32_t Win32Files::Delete(const std::string& path) {
  if (::DeleteFileW(Widen(path).data())) return 0;
  return static_cast<std::int32_t>(GetLastError());
}

// MOVEFILE_WRITE_THROUGH: the move is on the disk before the call returns.
std::int32_t Win32Files::Replace(const std::string& from, const std::string& to) {
  if (::MoveFileExW(Widen(from).data(), Widen(to).data(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return 0;
  }
  return static_cast<std::int32_t>(GetLastError());
}

std::int32_t Win32Files::MoveToNewName(const std::string& from, const std::string& to) {
  if (::MoveFileExW(Widen(from).data(), Widen(to).data(), MOVEFILE_WRITE_THROUGH)) return 0;
  return static_cast<std::int32_t>(GetLastError());
}

}  // namespace platform
