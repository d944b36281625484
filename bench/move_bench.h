// zolvane-cli's set --move timed under Wine: on one volume, a file of 1 GB beside one of 1 MB (both renamed); across
// volumes, a tree of 3,000 files from C: to a drive letter mapped to /dev/shm, beside Wine's xcopy and rmdir and
// beside native cp -a and rm -r.
#pragma once

#include <string>

#include "bench/verdict_table.h"

namespace bench {

// Rows for both moves. My Documents' two values are changed: the caller keeps them and puts them back; every file
// and folder made is removed, and the drive letter taken away.
void BenchMoves(VerdictTable& table, int rounds, const std::string& cliExe);

}  // namespace bench
