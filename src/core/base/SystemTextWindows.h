#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// Windows speaks UTF-16 in its wide-character calls; the program speaks
// UTF-8. Text that is not valid in its encoding throws ECodecError.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// The system's description of an error code (GetLastError, WSAGetLastError).
std::string SystemMessage(unsigned long error);
// The description a module (a DLL's handle) has for its own error codes,
// the system's when it has none.
std::string ModuleMessage(void* module, unsigned long error);

// The reason for a failed file operation: for the common errors the words
// the C library of the POSIX build uses ("No such file or directory"), so
// that messages read the same on every system; the system's own for others.
std::string FileErrorText(unsigned long error);

}  // namespace tovarin
