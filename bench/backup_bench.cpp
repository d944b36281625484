// Times the backup against four sequential regedit /e runs of the same keys, in one run, and prints the ratio.
//
// Usage: backup_bench.exe [rounds]   (default 15). The backup file on the desktop is put back afterwards.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backup/backup.h"
#include "fakes/fake_form1_view.h"
#include "platform/win32/win32_platform.h"

namespace {

const char* const kKeys[4] = {
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
};

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool RunAndWait(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION info = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  bool ended = WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ended;
}

// The four exports one after another, each waited for: what the backup costs at the least without its
// overlap; the files are deleted outside the timing.
double TimeSequentialExports(const std::string& tempDir) {
  double start = NowMs();
  for (int i = 0; i < 4; ++i) {
    std::string file = tempDir + "zolvane_bench" + std::to_string(i + 1) + ".txt";
    if (!RunAndWait("regedit /e \"" + file + "\" \"" + kKeys[i] + "\"")) std::printf("regedit %d failed\n", i + 1);
  }
  double elapsed = NowMs() - start;
  for (int i = 0; i < 4; ++i) DeleteFileA((tempDir + "zolvane_bench" + std::to_string(i + 1) + ".txt").c_str());
  return elapsed;
}

double TimeBackup(RegistryBackup& backup, FakeForm1View& view) {
  view.messages.clear();
  double start = NowMs();
  backup.Run();
  double elapsed = NowMs() - start;
  if (view.messages.size() != 1 || view.messages[0].prompt != "Shell folder registry keys are now backed up.") {
    std::printf("backup did not succeed: %s\n", view.messages.empty() ? "" : view.messages[0].prompt.c_str());
  }
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string ReadAll(const std::string& path, bool* existed) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  *existed = file != nullptr;
  if (!file) return bytes;
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

void PutBack(const std::string& path, bool existed, const std::string& bytes) {
  if (!existed) {
    DeleteFileA(path.c_str());
    return;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  platform::Win32Platform win32;
  FakeForm1View view;
  RegistryBackup backup(win32.platform(), view);

  char desktop[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_DESKTOP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, desktop);
  std::string backupPath = std::string(desktop) + "\\specialfolders.bak";
  bool hadBackup = false;
  std::string earlier = ReadAll(backupPath, &hadBackup);
  char temp[MAX_PATH];
  std::string tempDir(temp, GetTempPathA(sizeof temp, temp));

  // One of each first, so that neither pays for loading regedit and its libraries cold.
  TimeBackup(backup, view);
  TimeSequentialExports(tempDir);
  std::vector<double> backups;
  std::vector<double> sequential;
  for (int round = 0; round < rounds; ++round) {
    // Alternating which goes first keeps a drift in the machine's load from favouring one of them.
    if (round % 2 == 0) backups.push_back(TimeBackup(backup, view));
    sequential.push_back(TimeSequentialExports(tempDir));
    if (round % 2 == 1) backups.push_back(TimeBackup(backup, view));
  }
  PutBack(backupPath, hadBackup, earlier);

  double backupMs = Median(backups);
  double sequentialMs = Median(sequential);
  std::printf("rounds: %d (medians)\n", rounds);
  std::printf("backup (4 exports side by side, wait, join, filter, cleanup): %.1f ms\n", backupMs);
  std::printf("four sequential regedit /e runs of the same keys:             %.1f ms\n", sequentialMs);
  std::printf("ratio backup / sequential: %.2f\n", backupMs / sequentialMs);
  return 0;
}
