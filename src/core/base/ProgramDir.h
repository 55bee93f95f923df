#pragma once

#include <string>

namespace tovarin {

// The folder of the running program's executable, without a trailing
// separator; the settings file and the working document live there.
// EInOutError when the operating system cannot say.
std::string ProgramDir();

}  // namespace tovarin
