// zolvane-cli over the fake platform, with Windows XP reported and a user's profile set: each run's output and writes.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "fakes/fake_output.h"
#include "main_presenter_fixture.h"

// The output's lines, each of which must end in CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "a line without CR LF";
  return lines;
}

class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    SetUpAnnOnWindowsXp(fake);
    fake.shell.stockFolders[kCommonAppDataCsidl] = kCommonAppData;
    fake.files.folders.insert(kCommonAppData);
  }
  static constexpr int kCommonAppDataCsidl = 0x23;
  static constexpr char kCommonAppData[] = "C:\\Documents and Settings\\All Users\\Application Data";

  // Runs zolvane-cli afresh: the output and the registry's changes are this run's alone.
  int Run(const std::vector<std::string>& arguments) {
    output = FakeOutput();
    fake.registry.changes.clear();
    return RunCliRequest(fake.platform(), output, ParseCommandLine(arguments));
  }
  // Runs zolvane-cli, which ends with exitCode and writes exactly out and err.
  void ExpectRun(const std::vector<std::string>& arguments, int exitCode, const std::string& out,
                 const std::string& err) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    EXPECT_EQ(Run(arguments), exitCode);
    EXPECT_EQ(output.out, out);
    EXPECT_EQ(output.err, err);
  }
  // Applies the layout, written to D:\layout.txt, with the switches.
  int Apply(const std::string& layout, std::vector<std::string> switches = {}) {
    fake.files.files["D:\\layout.txt"] = layout;
    switches.insert(switches.begin(), {"apply", "D:\\layout.txt"});
    return Run(switches);
  }
  // A string value's text, empty when there is none.
  std::string Stored(const char* name, platform::HKey hive = platform::kHkeyCurrentUser,
                     const char* key = kUserShellFoldersKey) {
    return fake.registry.GetString(hive, key, name);
  }

  FakePlatform fake;
  FakeOutput output;
};
