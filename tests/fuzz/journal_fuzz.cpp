// Fuzzes the reading of a change's journal, a file any program could leave in its place: whatever it holds is read
// or refused without harm, and a journal read is written again to the same bytes' meaning.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vocabulary/change_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ParsedJournal journal = ParseJournal(bytes);
  if (!journal.readable) {
    if (journal.reason.empty()) std::abort();
    return 0;
  }
  // An older Zolvane's journal keeps no values after; only this format is written again.
  if (!journal.entries.empty() && journal.entries[0].after.state == StoredValue::State::kUnknown) return 0;
  ParsedJournal again = ParseJournal(JournalBytes(ChangeKind::kLayout, journal.entries));
  if (!again.readable || again.entries.size() != journal.entries.size()) std::abort();
  for (std::size_t i = 0; i < journal.entries.size(); ++i) {
    const JournalEntry& first = journal.entries[i];
    const JournalEntry& second = again.entries[i];
    if (first.key != second.key || first.name != second.name) std::abort();
    if (!first.before.Holds(second.before) || !first.after.Holds(second.after)) std::abort();
  }
  return 0;
}
