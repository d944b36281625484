// The shell: a special folder's path, a web page handed to the browser, the folder dialog and the open-file
// dialog. Their libraries are bound on first use, from the system folder only.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "platform/win32/conversions.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

template <typename Function>
Function SystemFunctionOfType(const char* dll, const char* name) {
  return reinterpret_cast<Function>(SystemFunction(dll, name));
}

#define ZOLVANE_SYSTEM_FUNCTION(dll, function) \
  static const auto bound##function = SystemFunctionOfType<decltype(&::function)>(dll, #function)

// The filter as the dialog takes it: each name and pattern ended by a NUL, and one more NUL after the last.
WideText FilterList(const std::string& filter) {
  WideText list = Widen(filter);
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  return list;
}

}  // namespace

// The shell's libraries are loaded on first use, and from the system folder only: start-up needs none of
// them, and loading shell32 with all it pulls in would cost more than showing the whole window.
void* SystemFunction(const char* dll, const char* name) {
  wchar_t path[MAX_PATH];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  std::size_t dllLength = std::strlen(dll);
  if (length == 0 || length + 1 + dllLength >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  // Library names are ASCII.
  for (std::size_t i = 0; i <= dllLength; ++i) path[length + 1 + i] = static_cast<wchar_t>(dll[i]);
  HMODULE module = LoadLibraryW(path);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

// Memory is left where ole32 cannot be bound: nothing else can free it.
bool FreeTaskMemory(void* memory) {
  ZOLVANE_SYSTEM_FUNCTION("ole32.dll", CoTaskMemFree);
  if (boundCoTaskMemFree != nullptr) boundCoTaskMemFree(memory);
  return boundCoTaskMemFree != nullptr;
}

// CSIDL_FLAG_CREATE and SHGFP_TYPE_CURRENT: the folder as it is now, made when it is missing. The shell answers
// S_FALSE for a folder that is not there and E_INVALIDARG for one it does not know.
DesktopFolderAnswer Win32Shell::DesktopFolder() {
  wchar_t buffer[MAX_PATH + 1];
  std::memset(buffer, 0, sizeof buffer);
  DesktopFolderAnswer answer;
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetFolderPathW);
  if (boundSHGetFolderPathW == nullptr) return answer;
  HRESULT result =
      boundSHGetFolderPathW(nullptr, CSIDL_DESKTOP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer);
  if (result == S_OK) {
    answer.result = DesktopFolderAnswer::Result::kFound;
    answer.path = Narrow(buffer);
  } else if (result == S_FALSE) {
    answer.result = DesktopFolderAnswer::Result::kMissing;
  } else if (result == E_INVALIDARG) {
    answer.result = DesktopFolderAnswer::Result::kInvalidFolder;
  }
  return answer;
}

// SHGFP_TYPE_DEFAULT: the path the folder has when nobody moved it. CSIDL_FLAG_DONT_VERIFY: the shell checks
// whether a folder is there before it answers, and a stock folder that was moved away and deleted is still
// where the folder belongs.
std::optional<std::string> Win32Shell::StockFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH + 1];
  std::memset(buffer, 0, sizeof buffer);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetFolderPathW);
  if (boundSHGetFolderPathW == nullptr) return std::nullopt;
  if (boundSHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_DEFAULT, buffer) != S_OK) {
    return std::nullopt;
  }
  return Narrow(buffer);
}

// Asked of the shell once: each answer has it write the folder's Shell Folders value again, and every change asks
// for its journal's folder more than once.
std::optional<std::string> Win32Shell::ApplicationDataFolder() {
  if (applicationData_) return applicationData_;
  wchar_t buffer[MAX_PATH + 1];
  std::memset(buffer, 0, sizeof buffer);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetFolderPathW);
  if (boundSHGetFolderPathW == nullptr) return std::nullopt;
  if (boundSHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) {
    return std::nullopt;
  }
  applicationData_ = Narrow(buffer);
  return applicationData_;
}

// With the desktop as the owner of whatever the shell shows; what it answers is not examined, since a browser
// that cannot be started tells the user itself.
// user32 is bound here too: zolvane-cli.exe opens no page, and a console program that imports user32 has Wine
// connect it to the window system at every start.
void Win32Shell::OpenWebPage(const std::string& address) {
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", ShellExecuteW);
  ZOLVANE_SYSTEM_FUNCTION("user32.dll", GetDesktopWindow);
  if (boundShellExecuteW == nullptr || boundGetDesktopWindow == nullptr) return;
  boundShellExecuteW(boundGetDesktopWindow(), L"open", Widen(address).data(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The dialog needs COM, apartment-threaded, on its thread, which asks once. BIF_RETURNONLYFSDIRS and
// BIF_DONTGOBELOWDOMAIN: only folders of the file system, and no computers of the network. A folder without a
// path (SHGetPathFromIDListW fails, or leaves no terminator in the buffer) gives empty text.
std::optional<std::string> Win32Shell::BrowseForFolder(WindowHandle owner, const std::string& title) {
  ZOLVANE_SYSTEM_FUNCTION("ole32.dll", CoInitializeEx);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHBrowseForFolderW);
  ZOLVANE_SYSTEM_FUNCTION("shell32.dll", SHGetPathFromIDListW);
  // Without the shell there is no dialog: the same answer as a dialog that was cancelled.
  if (boundSHBrowseForFolderW == nullptr || boundSHGetPathFromIDListW == nullptr) return std::nullopt;
  static thread_local bool comInitialised = false;
  if (!comInitialised && boundCoInitializeEx != nullptr) boundCoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  comInitialised = true;
  // The title must stay valid until the dialog has closed: it lives in this frame.
  WideText titleText = Widen(title);
  BROWSEINFOW record;
  std::memset(&record, 0, sizeof record);
  record.hwndOwner = ToHwnd(owner);
  record.lpszTitle = titleText.data();
  record.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  ScopedTaskMemory<ITEMIDLIST> chosen(boundSHBrowseForFolderW(&record));
  if (!chosen.valid()) return std::nullopt;
  wchar_t path[MAX_PATH];
  for (wchar_t& c : path) c = L' ';
  boundSHGetPathFromIDListW(chosen.get(), path);
  std::size_t length = 0;
  while (length < MAX_PATH && path[length] != L'\0') ++length;
  return length == MAX_PATH ? std::string() : Narrow(path, length);
}

// OFN_FILEMUSTEXIST and OFN_PATHMUSTEXIST: only a file that is there; OFN_HIDEREADONLY: no read-only box;
// OFN_NOCHANGEDIR: the program's current folder stays as it was.
FileChoice Win32Shell::ChooseFile(WindowHandle owner, const std::string& title, const std::string& initialFolder,
                                  const std::string& preselectedName, const std::string& filter) {
  // Room for a long path; the preselected name is copied in and the chosen one comes back here.
  constexpr std::size_t kFileBufferLength = 4096;
  WideText chosen = Widen(preselectedName);
  chosen.resize(kFileBufferLength, L'\0');
  chosen.back() = L'\0';
  WideText filterList = FilterList(filter);
  WideText folder = Widen(initialFolder);
  WideText titleText = Widen(title);
  OPENFILENAMEW record;
  std::memset(&record, 0, sizeof record);
  record.lStructSize = sizeof record;
  record.hwndOwner = ToHwnd(owner);
  record.lpstrFilter = filterList.data();
  record.nFilterIndex = 1;
  record.lpstrFile = chosen.data();
  record.nMaxFile = static_cast<DWORD>(chosen.size());
  record.lpstrInitialDir = initialFolder.empty() ? nullptr : folder.data();
  record.lpstrTitle = title.empty() ? nullptr : titleText.data();
  record.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  ZOLVANE_SYSTEM_FUNCTION("comdlg32.dll", GetOpenFileNameW);
  ZOLVANE_SYSTEM_FUNCTION("comdlg32.dll", CommDlgExtendedError);
  FileChoice choice;
  // Without the library there was no dialog to show: CDERR_INITIALIZATION.
  if (boundGetOpenFileNameW == nullptr || boundCommDlgExtendedError == nullptr) {
    choice.result = FileChoice::Result::kFailed;
    choice.error = CDERR_INITIALIZATION;
    return choice;
  }
  if (boundGetOpenFileNameW(&record)) {
    choice.result = FileChoice::Result::kChosen;
    choice.path = Narrow(chosen.data());
    return choice;
  }
  choice.error = boundCommDlgExtendedError();
  choice.result = choice.error == 0 ? FileChoice::Result::kCancelled : FileChoice::Result::kFailed;
  return choice;
}

}  // namespace platform
