// The catalogue's rows: their order in the list, their value names, and the stock path no restore test writes.
#include <gtest/gtest.h>

#include "vocabulary/catalogue.h"

TEST(Catalogue, ListPositionsCoverTheFifteenEntriesInAlphabeticalOrder) {
  const char* expected[] = {
      "Common Desktop",  "Common Startup", "Desktop",    "Favorites",        "My Documents",
      "My Music",        "My Pictures",    "SendTo",     "Shared Documents", "Shared Music",
      "Shared Pictures", "Shared Video",   "Start Menu", "Startup",          "Temporary Internet Files"};
  for (int position = 0; position < 15; ++position) {
    const ShellFolder* entry = ShellFolderAtListPosition(position);
    ASSERT_NE(entry, nullptr) << position;
    EXPECT_STREQ(entry->displayName, expected[position]);
  }
  EXPECT_EQ(ShellFolderAtListPosition(15), nullptr);
  EXPECT_EQ(ShellFolderAtListPosition(-1), nullptr);
}

// Each stock path expands to its own profile or All Users' (location_display_test.cpp); Shared Video's is the one no
// restore test writes.
TEST(Catalogue, ValueNamesThatDifferFromTheDisplayName) {
  EXPECT_STREQ(FindShellFolder("My Documents")->valueName, "Personal");
  EXPECT_STREQ(FindShellFolder("Temporary Internet Files")->valueName, "Cache");
  EXPECT_STREQ(FindShellFolder("Shared Documents")->valueName, "Common Documents");
  EXPECT_STREQ(FindShellFolder("Shared Music")->valueName, "CommonMusic");
  EXPECT_STREQ(FindShellFolder("Shared Pictures")->valueName, "CommonPictures");
  EXPECT_STREQ(FindShellFolder("Shared Video")->valueName, "CommonVideo");
  int differing = 0;
  for (const ShellFolder& entry : kShellFolders) {
    if (std::string(entry.displayName) != entry.valueName) ++differing;
  }
  EXPECT_EQ(differing, 6);
  EXPECT_STREQ(FindShellFolder("Shared Video")->stockDefaultPath, "%ALLUSERSPROFILE%\\Documents\\My Videos");
}
