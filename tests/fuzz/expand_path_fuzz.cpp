// Fuzzes ExpandPath with arbitrary text against a few defined variables, one of them empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_platform.h"
#include "features/folder_locations.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FakePlatform* fake = [] {
    auto* platform = new FakePlatform();
    platform->environment.Set("USERPROFILE", "C:\\Documents and Settings\\Ann");
    platform->environment.Set("A", "%A%");
    platform->environment.Set("EMPTY", "");
    return platform;
  }();
  FolderLocations locations(fake->platform());
  fake->log.Clear();

  std::string text(reinterpret_cast<const char*>(data), size);
  RegValue expanded = locations.ExpandPath(RegValue::FromText(text));
  if (!expanded.IsText()) std::abort();
  // Without a "%" nothing changes; and no value is longer than its reference, so expansion is bounded.
  if (text.find('%') == std::string::npos && expanded.text() != text) std::abort();
  if (expanded.text().size() > text.size() * 16) std::abort();
  // Expansion runs once: a value that holds a reference is not expanded again.
  if (text == "%A%" && expanded.text() != "%A%") std::abort();
  return 0;
}
