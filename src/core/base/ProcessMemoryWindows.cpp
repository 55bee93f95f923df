#include "core/base/ProcessMemory.h"

namespace tovarin {

// Large pages on Windows need a privilege (SeLockMemoryPrivilege) that a
// player's account does not have: blocks are allocated as usual.
void PrepareProcessMemory() {}

}  // namespace tovarin
