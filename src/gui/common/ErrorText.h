#pragma once

#include <QString>

#include <cstddef>
#include <exception>

namespace tovarin {

// What a window tells the user about an error: the bounds of the draw table
// and of a document in Chinese (their own messages are the command line's),
// any other error by its message.
QString ErrorText(const std::exception& error);

// Why a change that would leave the table with this many draws was refused.
QString TooManyDrawsText(size_t draws);

}  // namespace tovarin
