#include <windows.h>

#include <utility>

#include "platform/global_memory.h"

namespace platform {

GlobalMemory GlobalMemory::AllocateZeroed(std::size_t size)
{
    GlobalMemory memory;
    if (size == 0) {
        return memory;
    }
    const HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (handle == nullptr) {
        return memory;
    }
    void* data = ::GlobalLock(handle);
    if (data == nullptr) {
        ::GlobalFree(handle);
        return memory;
    }
    memory.m_block.Reset({handle, static_cast<std::uint8_t*>(data), size});
    return memory;
}

void GlobalMemory::ReleaseBlock(Block block)
{
    ::GlobalUnlock(static_cast<HGLOBAL>(block.handle));
    ::GlobalFree(static_cast<HGLOBAL>(block.handle));
}

}  // namespace platform
