// A registry the user may not write, for the command line's refused import: everyone is denied KEY_SET_VALUE on
// HKCU's Shell Folders key (Wine never refuses a write otherwise). The key's own security comes back when the object
// goes, or at the next run when this one was killed, from a journal in the registry.
#pragma once

#include <windows.h>

#include <string>

#include "scratch.h"
#include "vocabulary/shell_folder_keys.h"

class ShellFoldersRefusal {
 public:
  ShellFoldersRefusal() {
    Recover();
    HKEY key = Open();
    if (key == nullptr) return;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::string original(size, '\0');
    if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, &original[0], &size) == ERROR_SUCCESS &&
        JournalWrite(original)) {
      SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
      PSID everyone = nullptr;
      AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
      BYTE aclBytes[256];
      ACL* acl = reinterpret_cast<ACL*>(aclBytes);
      SECURITY_DESCRIPTOR refusing;
      refused_ = InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) &&
                 AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE, everyone) &&
                 AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone) &&
                 InitializeSecurityDescriptor(&refusing, SECURITY_DESCRIPTOR_REVISION) &&
                 SetSecurityDescriptorDacl(&refusing, TRUE, acl, FALSE) &&
                 RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &refusing) == ERROR_SUCCESS;
      FreeSid(everyone);
    }
    RegCloseKey(key);
  }
  ~ShellFoldersRefusal() { Recover(); }
  ShellFoldersRefusal(const ShellFoldersRefusal&) = delete;
  ShellFoldersRefusal& operator=(const ShellFoldersRefusal&) = delete;
  bool refused() const { return refused_; }

 private:
  static constexpr const char* kJournalKey = "Software\\Zolvane end-to-end refused key";

  static HKEY Open() {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kShellFoldersKey).c_str(), 0, READ_CONTROL | WRITE_DAC, &key);
    return key;
  }

  static bool JournalWrite(const std::string& security) {
    RawValue journal;
    journal.present = true;
    journal.type = REG_BINARY;
    journal.bytes = security;
    WriteRawValue(HKEY_CURRENT_USER, kJournalKey, "", journal);
    return ReadRawValue(HKEY_CURRENT_USER, kJournalKey, "") == journal;
  }

  // The journal goes only once the security it holds is back on the key.
  static void Recover() {
    RawValue original = ReadRawValue(HKEY_CURRENT_USER, kJournalKey, "");
    if (!original.present) return;
    HKEY key = Open();
    if (key != nullptr && RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &original.bytes[0]) == ERROR_SUCCESS) {
      RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kJournalKey).c_str());
    }
    if (key != nullptr) RegCloseKey(key);
  }

  bool refused_ = false;
};
