// Fuzzes the check of a backup file before import with arbitrary bytes, UTF-16LE and single-byte alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/registry_import.h"
#include "platform/platform.h"

namespace {

// A file the check lets through names no line that stopped it; one it refuses always says why. Every value
// to read back lies in one of the two hives.
void Check(const std::string& bytes) {
  RegistryFileCheck check = CheckRegistryFile(bytes);
  if (check.importable && (check.offendingLineNumber != 0 || !check.reason.empty())) std::abort();
  if (!check.importable && check.reason.empty()) std::abort();
  for (const ImportedValue& value : check.values) {
    bool knownHive = value.hive == platform::kHkeyCurrentUser || value.hive == platform::kHkeyLocalMachine;
    if (!knownHive || value.keyPath.empty()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  Check("Windows Registry Editor Version 5.00\r\n" + bytes);
  Check("\xFF\xFE" + bytes);
  Check(bytes);
  return 0;
}
