// The system's own words for an error code, and the one line that tells the user what failed and why.
#pragma once

#include <cstdint>
#include <string>

// The system's wording for the codes the backup and the import usually fail with, or nullptr.
const char* SystemErrorText(std::int32_t code);

// What failed, then the system's words when known and the code: `... : Access is denied. (error 5)`.
std::string WithSystemReason(const std::string& what, std::int32_t code);

// What could not be done, to what, and why: `Cannot read "C:\x": Access is denied. (error 5)`.
std::string DescribeFailure(const char* action, const std::string& target, std::int32_t code);
