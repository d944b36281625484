// Fuzzes the backup's export reader and line filter with arbitrary bytes, UTF-16LE and UTF-8 alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "backup/backup.h"
#include "backup/text_file.h"
#include "fakes/fake_platform.h"

namespace {

const char* const kHeader = "Windows Registry Editor Version 5.00";

// Decoding what was encoded gives the same lines once they have been decoded and encoded once.
void CheckRoundTrip(const std::string& bytes) {
  TextFile once = DecodeTextFile(EncodeTextFile(DecodeTextFile(bytes)));
  TextFile twice = DecodeTextFile(EncodeTextFile(once));
  if (once.lines != twice.lines || once.encoding != twice.encoding) std::abort();
}

void CheckFilter(const std::string& bytes, FakePlatform& fake) {
  RegistryBackup backup(fake.platform());
  fake.files.files.clear();
  fake.files.files["C:\\in.txt"] = bytes;
  backup.FilterFile("C:\\in.txt", "C:\\out.bak", kHeader);
  auto out = fake.files.files.find("C:\\out.bak");
  if (out == fake.files.files.end()) return;
  TextFile written = DecodeTextFile(out->second);
  for (const std::string& line : written.lines) {
    if (line.find('\r') != std::string::npos) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakePlatform fake;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(bytes);
  CheckFilter(bytes, fake);
  // The same bytes behind a byte-order mark are read as UTF-16LE.
  CheckRoundTrip("\xFF\xFE" + bytes);
  CheckFilter("\xFF\xFE" + bytes, fake);
  return 0;
}
