// The fake "ANSI code page": Windows-1252, so byte counts are those of a western Windows XP.
#pragma once

#include "platform/platform.h"

class FakeCodePage : public platform::CodePage {
 public:
  std::string ToAnsi(const std::string& utf8) override;
  std::string FromAnsi(const std::string& ansiBytes) override;
};
