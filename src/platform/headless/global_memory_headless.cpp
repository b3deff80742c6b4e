#include <cstdlib>
#include <utility>

#include "platform/global_memory.h"

namespace platform {

GlobalMemory GlobalMemory::AllocateZeroed(std::size_t size)
{
    GlobalMemory memory;
    if (size == 0) {
        return memory;
    }
    // calloc gives zero-filled memory, as GMEM_ZEROINIT does; the sanitizers
    // see every read past its end.
    if (void* block = std::calloc(size, 1)) {
        memory.m_block.Reset({block, static_cast<std::uint8_t*>(block), size});
    }
    return memory;
}

void GlobalMemory::ReleaseBlock(Block block)
{
    std::free(block.handle);
}

}  // namespace platform
