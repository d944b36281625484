// Whether a backup that zolvane-cli made with Wine's real registry editor holds the four keys as the registry
// holds them now, read the one way the restore reads it; for the tests that make backups.
#pragma once

#include <windows.h>

#include <string>

#include "scratch.h"
#include "tests/e2e/registry_keeper.h"
#include "vocabulary/registry_file.h"
#include "wide_text.h"

// A text value as the shell reads it, and a backup holds it: up to its first NUL.
inline std::wstring UpToNul(const std::string& bytes) {
  std::wstring units = Utf16LeUnits(bytes);
  return units.substr(0, units.find(L'\0'));
}

inline HKEY RootOf(platform::HKey hive) {
  return hive == platform::kHkeyLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Empty text when the file is UTF-16LE behind its byte-order mark with one header, every line ended by CR LF, read by
// the restore with a section for each of the four keys, and holds every value of them as the registry does now;
// else what is amiss.
inline std::string WhatTheBackupMisses(const std::wstring& file) {
  const std::string bytes = ReadFileBytes(file);
  const std::wstring header = L"Windows Registry Editor Version 5.00\r\n";
  std::wstring text = Utf16LeUnits(bytes.size() < 2 ? std::string() : bytes.substr(2));
  if (bytes.compare(0, 2, "\xFF\xFE") != 0) return "no UTF-16LE byte-order mark";
  if (text.find(header) != 0 || text.find(header, 1) != std::wstring::npos) return "not one header, first";
  if (text.find(L'\xFEFF') != std::wstring::npos) return "a byte-order mark inside";
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool lineEnd = text[i] == L'\r' || text[i] == L'\n';
    if (lineEnd && text.compare(i - (text[i] == L'\n'), 2, L"\r\n") != 0) return "a line not ended by CR LF";
  }
  RegistryFile parsed = ParseRegistryFile(bytes);
  if (!parsed.readable) return "line " + std::to_string(parsed.offendingLineNumber) + ": " + parsed.reason;
  if (parsed.sections != std::array<bool, 4>{true, true, true, true}) return "not a section for each key";
  std::size_t held = 0;
  for (const ShellFolderKey& key : kShellFolderKeys) held += e2e::ReadKey(RootOf(key.hive), key.path).size();
  if (parsed.values.size() != held)
    return std::to_string(parsed.values.size()) + " of " + std::to_string(held) + " values";
  for (const RegistryFileValue& value : parsed.values) {
    RawValue now = ReadRawValue(RootOf(value.key->hive), value.key->path, value.name.c_str());
    bool same = now.present && now.type == value.type &&
                (now.type == REG_SZ || now.type == REG_EXPAND_SZ ? UpToNul(now.bytes) == UpToNul(value.bytes)
                                                                 : now.bytes == value.bytes);
    if (!same) return value.key->FullName() + "\\" + value.name + " differs";
  }
  return std::string();
}
