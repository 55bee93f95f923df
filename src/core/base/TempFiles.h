#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// The temporary files WriteFileAtomically writes beside its target, shared
// by the file access of every system.

// ".tovarin-PID-N.tmp": short, so that a target whose own name is near the
// file system's limit can still be saved, and telling which process made
// it, so that a later start can remove those of a process that is gone.
std::string TemporaryName(unsigned long processId, unsigned serial);

// The process id in a temporary file's name, or 0 for any other name.
unsigned long WriterOfTemporary(std::string_view name);

// Keeps a temporary path (UTF-8) where RemoveHeldTemporaries finds it, for
// as long as the object lives. A path too long for the fixed storage, or
// more writes at once than it holds, only go unprotected.
class TempRegistration {
public:
    TempRegistration() = default;
    TempRegistration(const TempRegistration&) = delete;
    TempRegistration& operator=(const TempRegistration&) = delete;
    ~TempRegistration();

    // Held before the file is created, so that no moment of its life is
    // unprotected.
    void Hold(const std::string& path);

private:
    int slot_ = -1;
};

// Calls remove with each temporary path held now. Fixed storage and
// lock-free flags only, so that a signal handler may call it.
void RemoveHeldTemporaries(void (*remove)(const char* path));

}  // namespace tovarin
