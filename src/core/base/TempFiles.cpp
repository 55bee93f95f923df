#include "core/base/TempFiles.h"

#include <atomic>
#include <cstring>

namespace tovarin {
namespace {

constexpr std::string_view kTempPrefix = ".tovarin-";
constexpr std::string_view kTempSuffix = ".tmp";

struct TempSlot {
    enum State : int { Free, Filling, Ready };
    std::atomic<int> state{Free};
    char path[4096];
};
constexpr int kTempSlotCount = 8;
TempSlot tempSlots[kTempSlotCount];

}  // namespace

std::string TemporaryName(unsigned long processId, unsigned serial) {
    return std::string(kTempPrefix) + std::to_string(processId) + "-" + std::to_string(serial) +
           std::string(kTempSuffix);
}

unsigned long WriterOfTemporary(std::string_view name) {
    if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) {
        return 0;
    }
    name.remove_prefix(kTempPrefix.size());
    name.remove_suffix(kTempSuffix.size());
    const size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || dash + 1 == name.size() ||
        name.find_first_not_of("0123456789-") != std::string_view::npos ||
        name.find('-', dash + 1) != std::string_view::npos) {
        return 0;
    }
    unsigned long id = 0;
    for (const char digit : name.substr(0, dash)) {
        id = id * 10 + static_cast<unsigned long>(digit - '0');
    }
    return id;
}

TempRegistration::~TempRegistration() {
    if (slot_ >= 0) {
        tempSlots[slot_].state.store(TempSlot::Free);
    }
}

void TempRegistration::Hold(const std::string& path) {
    for (int index = 0; slot_ < 0 && index < kTempSlotCount; ++index) {
        int expected = TempSlot::Free;
        if (tempSlots[index].state.compare_exchange_strong(expected, TempSlot::Filling)) {
            slot_ = index;
        }
    }
    if (slot_ < 0) {
        return;
    }
    TempSlot& slot = tempSlots[slot_];
    slot.state.store(TempSlot::Filling);
    if (path.size() < sizeof slot.path) {
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(TempSlot::Ready);
    }
}

void RemoveHeldTemporaries(void (*remove)(const char* path)) {
    for (const TempSlot& slot : tempSlots) {
        if (slot.state.load() == TempSlot::Ready) {
            remove(slot.path);
        }
    }
}

}  // namespace tovarin
