// Fuzzes the registry file parser of the backup's check and the restore with arbitrary bytes, UTF-16LE and
// UTF-8 alike: whatever it lets through names only values of the four shell-folder keys.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/utf16.h"
#include "vocabulary/registry_file.h"

namespace {

bool IsOneOfTheFourKeys(const ShellFolderKey* key) {
  for (const ShellFolderKey& shellKey : kShellFolderKeys) {
    if (key == &shellKey) return true;
  }
  return false;
}

void Check(const std::string& bytes) {
  RegistryFile file = ParseRegistryFile(bytes);
  if (file.readable != file.reason.empty()) std::abort();
  if (file.readable && (file.offendingLineNumber != 0 || file.values.empty())) std::abort();
  if (!file.readable && !file.values.empty()) std::abort();
  for (const RegistryFileValue& value : file.values) {
    if (!IsOneOfTheFourKeys(value.key)) std::abort();
    if (value.deleted && !value.bytes.empty()) std::abort();
  }
  // A refused line is shown without its control characters.
  for (char c : file.offendingLine) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string header =
      "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\"
      "Windows\\CurrentVersion\\Explorer\\User Shell Folders]\r\n";
  Check(header + bytes);
  Check("\xFF\xFE" + Utf8ToUtf16Le(header) + bytes);
  Check(bytes);
  return 0;
}
