// RegistryImport against Wine's real registry, which it writes itself: scratch values imported from a UTF-16 file and
// read back byte for byte, among them a text without its terminating NUL, which a registry file may hold: Wine's
// registry reads such a value back with a NUL added, so the restore writes it with one, and the restore is whole.
// The prefix is put back.
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

void TestTextWithoutItsTerminator(RegistryImport& import) {
  std::string path =
      WriteTempFile(L"zolvane_import_unterminated.reg", "Windows Registry Editor Version 5.00\r\n\r\n" + kSection +
                                                            "\"" + kScratch + "\"=hex(2):43,00,3a,00,5c,00,41,00\r\n");
  Outcome outcome = import.Run(path);
  CHECK(outcome.done());
  CHECK((ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch) ==
         RawValue{true, REG_EXPAND_SZ, Utf8ToUtf16Le("C:\\A") + std::string(2, '\0')}));
  DeleteFileA(path.c_str());
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  RegistryImport import(win32.platform());
  RawValue savedScratch = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch);
  RawValue savedText = ReadRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratchText);

  TestUtf16File(import);
  TestTextWithoutItsTerminator(import);

  WriteRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratch, savedScratch);
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFolders, kScratchText, savedText);
  return wine_check::Summary();
}
