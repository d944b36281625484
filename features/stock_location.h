// Where Windows itself keeps a special folder: what Restore Default writes back.
#pragma once

#include <string>

#include "platform/platform.h"
#include "vocabulary/catalogue.h"

// The folder's stock path as its User Shell Folders value holds it. On a Windows installed in English, the
// catalogue's path. In any other language the folders carry that language's names ("Eigene Dateien"), so the
// shell says where the folder belongs, with the row's profile variable (%USERPROFILE% or %ALLUSERSPROFILE%) put
// back in front where the path lies inside that profile folder; the catalogue's path when the shell says nothing.
std::string StockLocation(platform::Platform& platform, const ShellFolder& folder);
