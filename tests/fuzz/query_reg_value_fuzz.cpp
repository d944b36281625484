// Fuzzes the registry reader with a value of any type and any bytes: the first byte picks the type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/shell_folder_registry.h"
#include "fakes/fake_platform.h"
#include "text/utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  FakePlatform fake;
  ShellFolderRegistry registry(fake.registry);
  const std::uint32_t type = data[0] % 12;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  fake.registry.SetValue(platform::kHkeyCurrentUser, "Software\\Fuzz", "v", type, bytes);

  RegValue value = registry.ReadRegValue(platform::kHkeyCurrentUser, "Software\\Fuzz", "v");
  if (fake.registry.OpenHandleCount() != 0) std::abort();
  switch (type) {
    case platform::kRegSz:
    case platform::kRegExpandSz:
      // Whole code units before the last stored one, which is taken for the terminator.
      if (bytes.empty() ? !value.IsEmpty()
                        : value != RegValue::FromText(Utf16LeToUtf8(bytes.substr(0, (bytes.size() - 1) / 2 * 2)))) {
        std::abort();
      }
      break;
    case platform::kRegDword:
      if (bytes.size() > 4 ? !value.IsEmpty() : !value.IsInteger()) std::abort();
      break;
    default:
      if (!value.IsEmpty()) std::abort();
  }
  return 0;
}
