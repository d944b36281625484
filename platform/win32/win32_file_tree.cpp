// A folder's files and folders for moving them: listed, described, renamed, copied in pieces and compared, their
// volume and its free space, and deleted, every path in its long form so that depth has no limit.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/long_path.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// Files are copied and compared a piece at a time, so that memory never grows with a file's size.
constexpr DWORD kPieceBytes = 1 << 20;
constexpr DWORD kLeastPieceBytes = 4096;

// What SetFileAttributes takes; the rest (a folder, a reparse point, compression) is the file system's to say.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::int32_t LastError() {
  return static_cast<std::int32_t>(::GetLastError());
}

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeOf(std::uint64_t ticks) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

TreeEntry EntryOf(std::string name, DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& created,
                  const FILETIME& lastWritten) {
  TreeEntry entry;
  entry.name = std::move(name);
  entry.attributes = attributes;
  entry.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.reparsePoint = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  entry.size = entry.folder ? 0 : (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
  entry.created = Ticks(created);
  entry.lastWritten = Ticks(lastWritten);
  return entry;
}

// The last name of a path, without a trailing backslash.
std::string LastName(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

BOOL SetAttributes(const WideText& path, DWORD attributes) {
  attributes &= kSettableAttributes;
  return ::SetFileAttributesW(path.data(), attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Reads until the piece is full or the file ends.
std::int32_t ReadPiece(HANDLE file, std::vector<char>* piece, DWORD* got) {
  *got = 0;
  while (*got < piece->size()) {
    DWORD read = 0;
    if (!::ReadFile(file, piece->data() + *got, static_cast<DWORD>(piece->size()) - *got, &read, nullptr)) {
      return LastError();
    }
    if (read == 0) break;
    *got += read;
  }
  return 0;
}

std::int32_t WriteAll(HANDLE file, const char* bytes, DWORD count) {
  while (count > 0) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes, count, &written, nullptr)) return LastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes += written;
    count -= written;
  }
  return 0;
}

// A piece no larger than the file: a piece of 1 MB is memory the heap maps afresh (and the system zeroes) each
// time, which for a tree of small files took most of a move's time.
std::vector<char> PieceFor(std::uint64_t fileBytes) {
  return std::vector<char>(
      static_cast<std::size_t>(std::clamp<std::uint64_t>(fileBytes, kLeastPieceBytes, kPieceBytes)));
}

std::int32_t CopyBytes(HANDLE from, HANDLE to, std::uint64_t fileBytes, const FileTree::Progress& progress) {
  std::vector<char> piece = PieceFor(fileBytes);
  std::uint64_t done = 0;
  while (true) {
    DWORD got = 0;
    if (std::int32_t code = ReadPiece(from, &piece, &got)) return code;
    if (got == 0) return 0;
    if (std::int32_t code = WriteAll(to, piece.data(), got)) return code;
    done += got;
    if (progress) progress(done);
  }
}

// A volume mounted in a folder has that folder for its root, which GetVolumePathName finds; it takes no long
// form, so a deeper path is asked by its folder within MAX_PATH (no volume is mounted deeper than that).
std::int32_t VolumeRootOfDrivePath(const std::string& full, std::string* root) {
  WideText wide = Widen(full);
  if (wide.size() > MAX_PATH) {
    std::size_t cut = MAX_PATH - 2;
    while (cut > 0 && wide[cut] != L'\\') --cut;
    wide.resize(cut + 1);
    wide.push_back(L'\0');
  }
  std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
  if (!::GetVolumePathNameW(wide.data(), buffer.data(), MAX_PATH + 1)) return LastError();
  *root = Narrow(buffer.data());
  if (root->empty() || root->back() != '\\') *root += '\\';
  return 0;
}

// "\\\\server\\share\\" of a path on a share, which is a volume of its own.
std::int32_t ShareRoot(const std::string& full, std::string* root) {
  std::size_t server = full.find('\\', 2);
  if (server == std::string::npos || server + 1 == full.size()) return ERROR_BAD_PATHNAME;
  std::size_t share = full.find('\\', server + 1);
  *root = share == std::string::npos ? full + "\\" : full.substr(0, share + 1);
  return 0;
}

}  // namespace

std::int32_t Win32FileTree::List(const std::string& folder, std::vector<TreeEntry>* entries) {
  std::string pattern = folder;
  if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
  WIN32_FIND_DATAW found;
  ScopedFileSearch search(::FindFirstFileW(WidenLong(pattern + "*").data(), &found));
  if (!search.valid()) return LastError();
  std::vector<TreeEntry> listed;
  do {
    std::string name = Narrow(found.cFileName);
    if (name == "." || name == "..") continue;
    listed.push_back(EntryOf(std::move(name), found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow,
                             found.ftCreationTime, found.ftLastWriteTime));
  } while (::FindNextFileW(search.get(), &found));
  if (::GetLastError() != ERROR_NO_MORE_FILES) return LastError();
  *entries = std::move(listed);
  return 0;
}

// GetFileAttributesEx describes a reparse point itself, and a drive's root too, which FindFirstFile cannot.
std::int32_t Win32FileTree::Describe(const std::string& path, TreeEntry* entry) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(WidenLong(path).data(), GetFileExInfoStandard, &data)) return LastError();
  *entry = EntryOf(LastName(path), data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftCreationTime,
                   data.ftLastWriteTime);
  return 0;
}

// Two paths are on one volume when the system gives them one root: a drive, a share, or the folder a volume is
// mounted on. The volume's serial number would add nothing (two roots are two volumes, or one reached twice
// through subst, which then costs a copy but never loses a file), and Wine refuses it for a mounted folder.
std::int32_t Win32FileTree::Volume(const std::string& path, VolumeInfo* volume) {
  std::string full = WithoutLongPrefix(FullPathOf(WithoutLongPrefix(path)));
  std::string root;
  std::int32_t code = full.compare(0, 2, "\\\\") == 0 ? ShareRoot(full, &root) : VolumeRootOfDrivePath(full, &root);
  if (code != 0) return code;
  ULARGE_INTEGER available;
  if (!::GetDiskFreeSpaceExW(Widen(root).data(), &available, nullptr, nullptr)) return LastError();
  volume->root = root;
  volume->id = root;
  for (char& letter : volume->id) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  }
  volume->freeBytes = available.QuadPart;
  return 0;
}

// No MOVEFILE_REPLACE_EXISTING, no MOVEFILE_COPY_ALLOWED: nothing is replaced, and nothing copied in disguise.
std::int32_t Win32FileTree::Rename(const std::string& from, const std::string& to) {
  if (::MoveFileExW(WidenLong(from).data(), WidenLong(to).data(), MOVEFILE_WRITE_THROUGH)) return 0;
  return LastError();
}

// FILE_SHARE_READ only: a program that writes the file meanwhile is refused, and one that holds it unshared
// refuses this copy at once. The times are set last on the open copy and its attributes after it is closed, so
// that a read-only copy is still written; what fails on the way takes the copy away again. The source's details
// are asked by its path once it is open, not of its handle: GetFileInformationByHandle also asks for the volume's
// serial number, which Wine gets from its mount manager in another process, costing as much as the copy of a small
// file.
std::int32_t Win32FileTree::CopyToNew(const std::string& from, const std::string& to, const Progress& progress) {
  WideText sourcePath = WidenLong(from);
  ScopedHandle source(::CreateFileW(sourcePath.data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source.valid()) return LastError();
  WIN32_FILE_ATTRIBUTE_DATA details;
  if (!::GetFileAttributesExW(sourcePath.data(), GetFileExInfoStandard, &details)) return LastError();
  WideText target = WidenLong(to);
  // A file made with the archive attribute has it: the usual file needs no SetFileAttributes, which opens it again.
  bool archiveOnly = (details.dwFileAttributes & kSettableAttributes) == FILE_ATTRIBUTE_ARCHIVE;
  ScopedHandle copy(::CreateFileW(target.data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  archiveOnly ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!copy.valid()) return LastError();
  std::uint64_t bytes = (static_cast<std::uint64_t>(details.nFileSizeHigh) << 32) | details.nFileSizeLow;
  std::int32_t code = CopyBytes(source.get(), copy.get(), bytes, progress);
  if (code == 0 && !::SetFileTime(copy.get(), &details.ftCreationTime, nullptr, &details.ftLastWriteTime)) {
    code = LastError();
  }
  if (code == 0 && !::FlushFileBuffers(copy.get())) code = LastError();
  if (!copy.Close() && code == 0) code = LastError();
  if (code == 0 && !archiveOnly && !SetAttributes(target, details.dwFileAttributes)) code = LastError();
  if (code != 0) ::DeleteFileW(target.data());
  return code;
}

std::int32_t Win32FileTree::CompareBytes(const std::string& one, const std::string& other, bool* same) {
  ScopedHandle files[2];
  LARGE_INTEGER sizes[2];
  const std::string* paths[2] = {&one, &other};
  for (int i = 0; i < 2; ++i) {
    files[i] = ScopedHandle(::CreateFileW(WidenLong(*paths[i]).data(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!files[i].valid() || !::GetFileSizeEx(files[i].get(), &sizes[i])) return LastError();
  }
  *same = sizes[0].QuadPart == sizes[1].QuadPart;
  if (!*same) return 0;
  std::uint64_t bytes = static_cast<std::uint64_t>(sizes[0].QuadPart);
  std::vector<char> pieces[2] = {PieceFor(bytes), PieceFor(bytes)};
  while (*same) {
    DWORD got[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
      if (std::int32_t code = ReadPiece(files[i].get(), &pieces[i], &got[i])) return code;
    }
    if (got[0] == 0 && got[1] == 0) break;
    *same = got[0] == got[1] && std::equal(pieces[0].begin(), pieces[0].begin() + got[0], pieces[1].begin());
  }
  return 0;
}

// FILE_FLAG_BACKUP_SEMANTICS opens a folder; its attributes go last, as a read-only folder may refuse the times.
std::int32_t Win32FileTree::SetFolderDetails(const std::string& folder, std::uint32_t attributes, std::uint64_t created,
                                             std::uint64_t lastWritten) {
  WideText wide = WidenLong(folder);
  ScopedHandle handle(::CreateFileW(wide.data(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) return LastError();
  FILETIME createdTime = FileTimeOf(created);
  FILETIME writtenTime = FileTimeOf(lastWritten);
  if (!::SetFileTime(handle.get(), &createdTime, nullptr, &writtenTime)) return LastError();
  if (!handle.Close()) return LastError();
  if (!SetAttributes(wide, attributes)) return LastError();
  return 0;
}

std::int32_t Win32FileTree::MakeFolder(const std::string& folder) {
  if (::CreateDirectoryW(WidenLong(folder).data(), nullptr)) return 0;
  return LastError();
}

namespace {

// The read-only attribute is checked here, not left to the system: Wine does not always refuse as Windows does.
std::int32_t RemoveEntry(const std::string& path, bool evenReadOnly, BOOL(WINAPI* remove)(LPCWSTR)) {
  WideText wide = WidenLong(path);
  DWORD attributes = ::GetFileAttributesW(wide.data());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !evenReadOnly) return ERROR_ACCESS_DENIED;
  if (readOnly && !SetAttributes(wide, attributes & ~FILE_ATTRIBUTE_READONLY)) return LastError();
  if (remove(wide.data())) return 0;
  std::int32_t code = LastError();
  if (readOnly) SetAttributes(wide, attributes);
  return code;
}

}  // namespace

std::int32_t Win32FileTree::RemoveFile(const std::string& path, bool evenReadOnly) {
  return RemoveEntry(path, evenReadOnly, &::DeleteFileW);
}

std::int32_t Win32FileTree::RemoveFolder(const std::string& folder, bool evenReadOnly) {
  return RemoveEntry(folder, evenReadOnly, &::RemoveDirectoryW);
}

}  // namespace platform
