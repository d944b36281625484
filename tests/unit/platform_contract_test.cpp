// The platform contract against the fakes: they answer as the Win32 layer does under Wine (the same contract,
// tests/wine/platform_contract_wine_test.cpp).
#include <gtest/gtest.h>

#include <thread>

#include "fakes/fake_platform.h"
#include "main_presenter_fixture.h"
#include "tests/contract/platform_contract.h"

namespace {

TEST(PlatformContract, TheFakesAnswerAsWindowsDoes) {
  FakePlatform fake;
  SetUpAnnOnWindowsXp(fake);
  fake.files.folders.insert("C:\\Scratch");
  fake.shell.stockFolders[0x05] = "C:\\Documents and Settings\\Ann\\My Documents";
  // What the two programs the contract runs do: the fakes run no program.
  fake.processes.onRun = [](const std::string& commandLine) {
    FakeProcesses::Outcome outcome;
    outcome.exitCode = commandLine == "quick" ? 3 : 0;
    outcome.hangs = commandLine == "long";
    return outcome;
  };
  contract::Setting setting;
  setting.scratchKey = "Software\\Zolvane platform contract";
  setting.scratchFolder = "C:\\Scratch\\";
  setting.quickProgram = "C:\\quick.exe";
  setting.quickCommandLine = "quick";
  setting.longRunningProgram = "C:\\long.exe";
  setting.longRunningCommandLine = "long";
  setting.runOnAnotherThread = [](const std::function<void()>& work) { std::thread(work).join(); };
  setting.setReadOnly = [&](const std::string& path, bool readOnly) {
    if (readOnly) {
      fake.files.readOnly.insert(path);
    } else {
      fake.files.readOnly.erase(path);
    }
  };
  setting.holdOpen = [&](const std::string& path, bool held) {
    if (held) {
      fake.fileTree.heldOpen.insert(path);
    } else {
      fake.fileTree.heldOpen.erase(path);
    }
  };
  setting.canOpenForWriting = [&](const std::string& path) { return fake.fileTree.beingRead.count(path) == 0; };
  fake.files.folders.insert({"D:\\Other", "C:\\Scratch\\Junction"});
  fake.fileTree.reparsePoints.insert("C:\\Scratch\\Junction");
  setting.otherVolumeFolder = "D:\\Other\\";
  setting.reparsePoint = "C:\\Scratch\\Junction";
  int checks = 0;
  setting.check = [&](bool held, const std::string& what) {
    ++checks;
    EXPECT_TRUE(held) << what;
  };
  contract::RunPlatformContract(fake.platform(), setting);
  EXPECT_GT(checks, 40);
}

}  // namespace
