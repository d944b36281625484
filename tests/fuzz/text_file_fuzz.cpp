// Fuzzes the reading of a text file and its lines, as the backup reads regedit's exports, with arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/text_file.h"

namespace {

// Lines written as UTF-16LE read back as the same lines, none of which holds a line end.
void CheckRoundTrip(const std::string& bytes) {
  DecodedText decoded = DecodeTextFile(bytes);
  if (!decoded.valid) {
    if (!decoded.text.empty()) std::abort();
    return;
  }
  std::vector<std::string> lines = SplitLines(decoded.text);
  for (const std::string& line : lines) {
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  DecodedText again = DecodeTextFile(EncodeUtf16LeLines(lines));
  if (!again.valid || again.encoding != TextEncoding::kUtf16Le || SplitLines(again.text) != lines) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(bytes);
  // The same bytes behind a byte-order mark are read as UTF-16LE.
  CheckRoundTrip("\xFF\xFE" + bytes);
  return 0;
}
