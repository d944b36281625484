// RegistryImport against Wine's real regedit and registry: scratch values imported from a UTF-16 file and read back,
// and a file with a foreign key refused with nothing changed. The prefix is put back.
//
// Wine's regedit /s, as measured: it exits with 0 whatever happens (a missing file, a file that is no registry file,
// a value it cannot write), and it imports keys of any name, which is why the file is checked first. A UTF-16 file
// and a REGEDIT4 single-byte file both import; without a byte-order mark it reads strings and the bytes of hex(2)
// through the code page whatever the header says ("43,00,3a,00" became "C"), and with one it stores hex(2) bytes as
// given, adding a terminator where they lack one.
#include <windows.h>

#include <cstdio>
#include <string>

#include "features/registry_import.h"
#include "platform/win32/win32_platform.h"
#include "scratch.h"
#include "text/utf16.h"
#include "wine_check.h"

namespace {

const char* const kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kScratch = "ZolvaneImportWineTest";
const char* const kScratchText = "ZolvaneImportWineTestText";
const char* const kForeignKey = "Software\\ZolvaneImportWineTest";
const std::string kSection = "[HKEY_CURRENT_USER\\" + std::string(kUserShellFolders) + "]\r\n";

std::string WriteTempFile(const wchar_t* name, const std::string& bytes) {
  WriteFileBytes(TempFolder() + name, bytes);
  return Utf8(TempFolder() + name);
}

void TestUtf16File(RegistryImport& import) {
  std::string text = "\"" + std::string(kScratch) + "\"=hex(2):43,00,3a,00,5c,00,\\\r\n  5a,00,00,00\r\n\"" +
                     kScratchText + "\"=\"D:\\\\\u0414\u043e\u043c \u65e5\"\r\n";
  std::string path =
      WriteTempFile(L"zolvane_import_utf16.reg",
                    "\xFF\xFE" + Utf8ToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n" + kSection + text));
  // The folders the file does not name are said to stay as they are, after the first line.
  std::string message = import.Run(path).message;
  CHECK_EQ(message.substr(0, message.find('\n')), "Restored the special folder paths from \"" + path + "\".");
  CHECK((ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch) ==
         RawValue{true, REG_EXPAND_SZ, Utf8ToUtf16Le("C:\\Z") + std::string(2, '\0')}));
  CHECK((ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratchText) ==
         RawValue{true, REG_SZ, Utf8ToUtf16Le("D:\\\u0414\u043e\u043c \u65e5") + std::string(2, '\0')}));
  DeleteFileA(path.c_str());
}

void TestForeignKeyRefused(RegistryImport& import) {
  RawValue before = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch);
  std::string path = WriteTempFile(L"zolvane_import_foreign.reg",
                                   "Windows Registry Editor Version 5.00\r\n\r\n" + kSection + "\"" + kScratch +
                                       "\"=\"C:\\\\X\"\r\n[HKEY_CURRENT_USER\\" + kForeignKey + "]\r\n\"x\"=\"y\"\r\n");
  Outcome outcome = import.Run(path);
  CHECK(outcome.result == Outcome::Result::kRefused);
  CHECK_EQ(static_cast<long long>(outcome.code), 13LL);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch) == before);
  CHECK(!ReadRawValue(HKEY_CURRENT_USER, kForeignKey, "x").present);
  DeleteFileA(path.c_str());
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  RegistryImport import(win32.platform());
  RawValue savedScratch = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch);
  RawValue savedText = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratchText);

  TestUtf16File(import);
  TestForeignKeyRefused(import);

  WriteRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch, savedScratch);
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratchText, savedText);
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kForeignKey).c_str());
  return wine_check::Summary();
}
