#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "core/base/Errors.h"

namespace tovarin::cli {

// Standard output could not be written; the message is the system's
// reason, which the command line reports as "cannot write the output".
class EOutputError : public Exception {
public:
    using Exception::Exception;
};

// Sends std::cout through a buffer of the program's own that keeps the
// reason of the first write that failed (a full disk, a file-size limit)
// and drops every write after it. Called once, before any output.
void UseCheckedOutput();

// Writes out what std::cout still holds; EOutputError when any write of the
// run failed. Every command ends with it, and a command that changes a
// file calls it before the change.
void FinishOutput();

// The JSON text of every --json answer: bytes of a file name or a condition
// text that are not UTF-8 come out as U+FFFD, so the answer stays JSON.
std::string JsonText(const nlohmann::ordered_json& json, int indent = -1);

}  // namespace tovarin::cli
