#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace tovarin {

// The program's general exception: every error the program raises derives
// from it and carries the message the user sees.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that should have been a decimal integer was not.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Outside data (a document, a block, a settings file, a download) is not
// what it should be; the message says what and where.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// A file could not be read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// Text that cannot be converted between UTF-8 and another encoding.
class ECodecError : public Exception {
public:
    using Exception::Exception;
    // Refused at a byte of the text, which the message names.
    ECodecError(const std::string& what, size_t at)
        : Exception(what + " at byte " + std::to_string(at)), at_(at) {}

    // Where the text was refused, when the refusal names a byte.
    std::optional<size_t> At() const { return at_; }

private:
    std::optional<size_t> at_;
};

}  // namespace tovarin
