// The transaction every writer goes through: read, journal, write, read back, put back on failure, retire the
// journal.
#include "vocabulary/registry_change.h"

#include <algorithm>
#include <utility>

#include "vocabulary/failure.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using Stop = ChangeResult::Stop;

// A value as a list names it, and as a sentence does.
std::string ValueName(const ValueChange& change) {
  return ListedValueName(change.key->FullName(), change.name);
}

std::string ValueWords(const ValueChange& change) {
  return ValueInSentence(change.key->FullName(), change.name);
}

StoredValue Read(platform::Registry& registry, const ValueChange& change) {
  return ShellFolderRegistry(registry).ReadStoredValue(change.key->hive, change.key->path, change.name);
}

std::int32_t Store(platform::Registry& registry, const ValueChange& change, const StoredValue& value) {
  return ShellFolderRegistry(registry).Store(change.key->hive, change.key->path, change.name, value);
}

void Stopped(ChangeResult* result, Stop why, std::int32_t code, std::string failure) {
  result->stop = why;
  result->code = code;
  result->failure = std::move(failure);
}

}  // namespace

std::size_t ChangeResult::Count(ValueFate fate) const {
  return static_cast<std::size_t>(std::count(fates.begin(), fates.end(), fate));
}

std::string ChangeResult::Aftermath() const {
  if (done() || stop == Stop::kLock || stop == Stop::kJournal) return std::string();
  std::string text;
  if (!notPutBack.empty()) text += kSomeNotPutBack + NamedOnce(notPutBack, "\n");
  if (!changedElsewhere.empty()) text += kSomeChangedElsewhere + NamedOnce(changedElsewhere, "\n");
  if (!text.empty()) return text;
  return Count(ValueFate::kPutBack) > 0 ? kAllPutBack : kNothingChanged;
}

StoredValue AsTheRegistryHoldsIt(StoredValue value) {
  bool text = value.state == StoredValue::State::kPresent && IsTextType(value.type) && value.bytes.size() % 2 == 0;
  bool terminated = value.bytes.size() >= 2 && value.bytes[value.bytes.size() - 1] == '\0' &&
                    value.bytes[value.bytes.size() - 2] == '\0';
  if (text && !terminated) value.bytes.append(2, '\0');
  return value;
}

std::vector<bool> AlreadySo(platform::Registry& registry, const std::vector<ValueChange>& changes) {
  std::vector<bool> already;
  for (const ValueChange& change : changes)
    already.push_back(Read(registry, change).Holds(AsTheRegistryHoldsIt(change.after)));
  return already;
}

RegistryChange::RegistryChange(platform::Platform& platform, ChangeKind kind, std::uint32_t timeoutMs)
    : platform_(platform), kind_(kind), lock_(platform, timeoutMs) {
  if (ready()) notices_ = UndoCutOffChange(platform_, lock_.abandoned());
}

ChangeResult RegistryChange::Write(const std::vector<ValueChange>& changes) {
  ChangeResult result;
  result.notices = notices_;
  result.fates.assign(changes.size(), ValueFate::kNotReached);
  if (!ready()) {
    Stopped(&result, Stop::kLock, lock_.code(), lock_.FailureText());
    return result;
  }
  platform::Registry& registry = platform_.registry;
  platform::System& system = platform_.system;

  // What each value holds now; those that already hold what the change writes are left alone.
  std::vector<JournalEntry> journalled;
  std::vector<std::size_t> order;  // the values written, in the change's order
  for (std::size_t i = 0; i < changes.size(); ++i) {
    StoredValue before = Read(registry, changes[i]);
    if (before.state == StoredValue::State::kUnknown) {
      Stopped(&result, Stop::kUnreadable, before.code,
              WithSystemReason(system, NotReadBeforeReplaced(ValueWords(changes[i])), before.code));
      return result;
    }
    StoredValue after = AsTheRegistryHoldsIt(changes[i].after);
    if (before.Holds(after)) {
      result.fates[i] = ValueFate::kAlreadySo;
      continue;
    }
    journalled.push_back(JournalEntry{changes[i].key, changes[i].name, std::move(before), std::move(after)});
    order.push_back(i);
  }
  if (order.empty()) return result;
  ChangeJournal journal(platform_);
  try {
    journal.Begin(kind_, journalled);
  } catch (const Failure& failure) {
    Stopped(&result, Stop::kJournal, failure.code(), failure.what());
    return result;
  }

  // The writes in order, then each read back: the registry may answer success for a write that did not take, and
  // another program may write meanwhile.
  std::size_t failedAt = order.size();
  for (std::size_t k = 0; k < order.size() && failedAt == order.size(); ++k) {
    const ValueChange& change = changes[order[k]];
    std::int32_t code = Store(registry, change, journalled[k].after);
    if (code == 0) {
      result.fates[order[k]] = ValueFate::kWritten;
      continue;
    }
    failedAt = k;
    bool deleting = journalled[k].after.state == StoredValue::State::kAbsent;
    Stopped(
        &result, Stop::kWrite, code,
        WithSystemReason(
            system, std::string(deleting ? kCannotDeleteAction : kCannotWriteAction) + " " + ValueWords(change), code));
  }
  for (std::size_t k = 0; k < order.size() && failedAt == order.size(); ++k) {
    StoredValue now = Read(registry, changes[order[k]]);
    if (now.Holds(journalled[k].after)) continue;
    failedAt = k;
    if (now.state == StoredValue::State::kUnknown) {
      // Written, but not read back: the put-back below finds out what it holds.
      Stopped(&result, Stop::kUnreadable, now.code,
              WithSystemReason(system, NotReadBack(ValueWords(changes[order[k]])), now.code));
    } else if (now.Holds(journalled[k].before)) {
      Stopped(&result, Stop::kNotTaken, platform::kErrorCantWrite,
              WithSystemReason(system, NotHeldAsWritten(ValueWords(changes[order[k]])), platform::kErrorCantWrite));
    } else {
      Stopped(&result, Stop::kChangedMeanwhile, platform::kErrorCantWrite,
              ChangedWhileWriting(ValueWords(changes[order[k]])));
    }
  }
  if (failedAt == order.size()) {
    std::string left = journal.End();
    if (!left.empty()) result.notices.push_back(left);
    return result;
  }

  // Every value written is put back, last first, but one that another program has changed since: that is its.
  // One that cannot be read is left to the journal's next run, which finds out what it holds.
  if (result.stop != Stop::kUnreadable) result.fates[order[failedAt]] = ValueFate::kFailed;
  for (std::size_t k = order.size(); k-- > 0;) {
    std::size_t i = order[k];
    if (result.fates[i] != ValueFate::kWritten) continue;
    StoredValue now = Read(registry, changes[i]);
    if (now.state == StoredValue::State::kUnknown) {
      result.fates[i] = ValueFate::kNotPutBack;
      result.notPutBack.push_back(ValueName(changes[i]));
    } else if (now.Holds(journalled[k].before)) {
      result.fates[i] = ValueFate::kPutBack;
    } else if (!now.Holds(journalled[k].after)) {
      result.fates[i] = ValueFate::kChangedElsewhere;
      result.changedElsewhere.push_back(ValueName(changes[i]));
    } else if (Store(registry, changes[i], journalled[k].before) == 0) {
      result.fates[i] = ValueFate::kPutBack;
    } else {
      result.fates[i] = ValueFate::kNotPutBack;
      result.notPutBack.push_back(ValueName(changes[i]));
    }
  }
  // What could not be put back now, the journal's next run puts back.
  if (result.notPutBack.empty()) {
    std::string left = journal.End();
    if (!left.empty()) result.notices.push_back(left);
  }
  return result;
}

std::vector<std::string> UndoCutOffChangeAtStart(platform::Platform& platform) {
  SessionLock lock(platform, 0);
  if (lock.code() != 0) return {};
  return UndoCutOffChange(platform, lock.abandoned());
}
