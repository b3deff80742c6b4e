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
    memory.m_handle = handle;
    memory.m_data = static_cast<std::uint8_t*>(data);
    memory.m_size = size;
    return memory;
}

void GlobalMemory::Free()
{
    if (m_handle != nullptr) {
        ::GlobalUnlock(static_cast<HGLOBAL>(m_handle));
        ::GlobalFree(static_cast<HGLOBAL>(m_handle));
    }
    m_handle = nullptr;
    m_data = nullptr;
    m_size = 0;
}

}  // namespace platform
