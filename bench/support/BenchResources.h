#pragma once
// The built resource folder that the benchmarks read: KELVOS_RESOURCES when it is set, else
// build/Resources beside the program's own folder (build/bench).
#include <string>

namespace kvbench {

std::string resourceFolder();

} // namespace kvbench
