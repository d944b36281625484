// Random paths through the real window: typed into the path box and applied to random folders, each must reach the
// registry trimmed (User Shell Folders) and expanded (Shell Folders), and come back in the window as stored.
// Seeded and reproducible: ZOLVANE_E2E_SEED repeats a run; the seed in use is printed first.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

constexpr int kRandomPaths = 200;
constexpr std::size_t kLongestPath = 259;

// A small generator of our own, so the same seed gives the same paths on every system.
class Random {
 public:
  explicit Random(unsigned seed) : state_(seed ? seed : 1) {}
  unsigned Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  unsigned Below(unsigned bound) { return Next() % bound; }

 private:
  unsigned state_;
};

// One printable character of the ANSI code page, as UTF-8: a byte the code page maps to a character.
std::string PrintableCharacter(Random& random) {
  for (;;) {
    char byte = static_cast<char>(0x20 + random.Below(0xE0));
    if (byte == 0x7F) continue;
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) != 1) continue;
    if (wide < 0x20 || (wide >= 0x7F && wide < 0xA0)) continue;
    return Utf8(std::wstring(1, wide));
  }
}

// Runs of printable characters, "%" references to defined and undefined variables, lone "%", and spaces
// around, up to the longest path the system takes.
std::string RandomPath(Random& random) {
  static const char* const kPieces[] = {
      "%USERPROFILE%", "%ALLUSERSPROFILE%", "%windir%", "%NOSUCHVARIABLE%", "%", "%%", "\\", "  "};
  std::string path(random.Below(4), ' ');
  std::size_t target = 1 + random.Below(kLongestPath - 4);
  std::size_t ansiLength = path.size();
  while (ansiLength < target) {
    std::string piece = random.Below(5) == 0 ? kPieces[random.Below(8)] : PrintableCharacter(random);
    std::size_t pieceLength = Wide(piece).size();
    if (ansiLength + pieceLength > kLongestPath - 3) break;
    path += piece;
    ansiLength += pieceLength;
  }
  path += std::string(random.Below(4), ' ');
  return path;
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Applies one path to one folder and checks the registry and the window; false when the run cannot go on.
bool ApplyOne(ZolvaneApp& app, int index, const std::string& path) {
  const Folder& folder = kFolders[index];
  if (!ShowFolder(app, index) || !CHECK(app.SetPathText(path))) return false;
  std::string trimmed = Trim(path);
  if (trimmed.empty()) return CHECK(!app.Enabled(IDC_APPLY));
  std::string told = ClickAndAnswer(app, IDC_APPLY);
  if (told.empty()) return false;
  CHECK_EQ(told, "Successfully done!");

  DWORD type = 0;
  std::string stored = ReadText(HiveOf(folder), kUserShellFolders, folder.valueName, &type);
  bool ok = CHECK_EQ(stored, trimmed);
  ok = CHECK_EQ(static_cast<long long>(type), static_cast<long long>(REG_EXPAND_SZ)) && ok;
  ok = CHECK_EQ(ReadText(HiveOf(folder), kShellFolders, folder.valueName, &type), Expanded(trimmed)) && ok;
  ok = CHECK_EQ(static_cast<long long>(type), static_cast<long long>(REG_SZ)) && ok;
  // The window shows what the registry holds: the stored value, expanded.
  ok = CHECK(WaitUntil([&] { return app.Text(IDC_PATH) == Expanded(stored); })) && ok;
  if (!ok) std::printf("  %s: typed \"%s\"\n", folder.displayName, path.c_str());
  return true;
}

}  // namespace

E2E_SCENARIO(ScenarioRandomPaths, "random-paths", false) {
  const char* fromEnvironment = std::getenv("ZOLVANE_E2E_SEED");
  unsigned seed = fromEnvironment ? static_cast<unsigned>(std::strtoul(fromEnvironment, nullptr, 10))
                                  : static_cast<unsigned>(std::time(nullptr));
  std::printf("seed %u (ZOLVANE_E2E_SEED=%u repeats this run)\n", seed, seed);
  std::fflush(stdout);
  Random random(seed);

  RegistryKeeper keeper;
  for (const Folder& folder : kFolders) KeepFolder(keeper, folder);
  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  for (int run = 0; run < kRandomPaths; ++run) {
    int index = static_cast<int>(random.Below(15));
    if (!ApplyOne(app, index, RandomPath(random))) return;
  }
}

}  // namespace e2e
