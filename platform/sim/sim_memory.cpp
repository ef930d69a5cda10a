// LocalAlloc and LocalFree of the simulated Windows. Each block is a separate heap block of
// exactly the asked size, so that a sanitizer sees any access past it.
#include <cstdlib>
#include <cstring>
#include <set>

#include "platform/sim/sim_internal.h"

namespace sim::detail {
namespace {
std::set<void *> liveBlocks;
} // namespace

void *AllocateBlock(SIZE_T bytes, bool zeroFill) {
    // malloc(0) may answer null; a zero-byte block still gets an address of its own.
    void *block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        return nullptr;
    if (zeroFill)
        std::memset(block, 0, bytes == 0 ? 1 : bytes);
    liveBlocks.insert(block);
    return block;
}

bool ReleaseBlock(void *block) {
    auto found = liveBlocks.find(block);
    if (found == liveBlocks.end())
        return false;
    liveBlocks.erase(found);
    std::free(block);
    return true;
}

int HeapBlockCount() {
    return static_cast<int>(liveBlocks.size());
}

void ResetMemory() {
    for (void *block : liveBlocks)
        std::free(block);
    liveBlocks.clear();
}

} // namespace sim::detail

using namespace sim::detail;

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (Enter("LocalAlloc", std::to_string(bytes)))
        return nullptr;
    void *block = AllocateBlock(bytes, (flags & LMEM_ZEROINIT) != 0);
    if (block == nullptr)
        Fail(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

HLOCAL LocalFree(HLOCAL block) {
    bool reportFailure = Enter("LocalFree", "");
    if (block == nullptr)
        return nullptr;
    if (!ReleaseBlock(block)) {
        CountBadRelease();
        Fail(ERROR_INVALID_HANDLE);
        return block;
    }
    return reportFailure ? block : nullptr;
}
