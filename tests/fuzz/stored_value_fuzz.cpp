// Fuzzes how a stored value is shown with any type and any bytes: the first byte picks the type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/utf16.h"
#include "vocabulary/shell_folder_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint32_t type = data[0] % 12;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  RegValue value = RegValueFromStored(type, bytes);
  switch (type) {
    case platform::kRegSz:
    case platform::kRegExpandSz: {
      // The whole code units up to the first NUL, as text; nothing when there are no bytes at all.
      if (bytes.empty()) {
        if (!value.IsEmpty()) std::abort();
        break;
      }
      std::string text = Utf16LeToUtf8(bytes.substr(0, bytes.size() / 2 * 2));
      if (value != RegValue::FromText(text.substr(0, text.find('\0')))) std::abort();
      if (value.text().find('\0') != std::string::npos) std::abort();
      break;
    }
    case platform::kRegDword:
      if (bytes.size() > 4 ? !value.IsEmpty() : !value.IsInteger()) std::abort();
      break;
    default:
      if (!value.IsEmpty()) std::abort();
  }
  return 0;
}
