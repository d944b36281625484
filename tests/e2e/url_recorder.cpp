// Stands in for the web browser in the end-to-end suite: appends the address it was asked to open to a
// log file. Registered as the prefix's handler for http addresses: url_recorder.exe LOG-FILE ADDRESS.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count != 3) return 2;
  std::wstring line = arguments[2];
  line += L"\n";
  int bytes =
      WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr, nullptr);
  // Another recorder may be writing at the same moment: retry a while rather than lose the line.
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE log = CreateFileW(arguments[1], FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
      CloseHandle(log);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
