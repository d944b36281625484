// The tests' own files, registry values and temporary folders, read and written without the code under test: a
// value as the registry stores it (the wide API converts nothing), so that a test checks it byte for byte and puts
// it back exactly; whole files' bytes.
#pragma once

#include <windows.h>

#include <string>

#include "wide_text.h"

// The temporary folder, with its trailing backslash.
inline std::wstring TempFolder() {
  wchar_t folder[MAX_PATH];
  DWORD length = GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder, length);
}

// This program's own file.
inline std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

// A file or a folder.
inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A whole file's bytes; none when it cannot be opened.
inline std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// Makes the file hold these bytes, whether or not it was there.
inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::string bytes;
  bool operator==(const RawValue& other) const {
    return present == other.present && type == other.type && bytes == other.bytes;
  }
};

inline RawValue ReadRawValue(HKEY root, const char* key, const char* name) {
  RawValue value;
  BYTE data[65536];
  DWORD size = sizeof data;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return value;
  if (RegQueryValueExW(opened, Wide(name).c_str(), nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
    value.present = true;
    value.bytes.assign(reinterpret_cast<const char*>(data), size);
  }
  RegCloseKey(opened);
  return value;
}

// Stores the value as it was read, or deletes it when there was none; false when it could not be stored.
inline bool WriteRawValue(HKEY root, const char* key, const char* name, const RawValue& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != 0) {
    return false;
  }
  LONG stored = ERROR_SUCCESS;
  if (value.present) {
    stored = RegSetValueExW(opened, Wide(name).c_str(), 0, value.type,
                            reinterpret_cast<const BYTE*>(value.bytes.data()), static_cast<DWORD>(value.bytes.size()));
  } else {
    RegDeleteValueW(opened, Wide(name).c_str());
  }
  RegCloseKey(opened);
  return stored == ERROR_SUCCESS;
}

// A text value as the registry stores it: the text's UTF-16LE units and one terminating zero.
inline RawValue TextValue(DWORD type, const std::wstring& text) {
  return RawValue{true, type,
                  std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t))};
}

// Deletes a folder with every file and folder in it, read-only ones too; a path that is not there is left alone.
inline void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file is not deleted
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}
