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
    memory.m_handle = std::calloc(size, 1);
    if (memory.m_handle != nullptr) {
        memory.m_data = static_cast<std::uint8_t*>(memory.m_handle);
        memory.m_size = size;
    }
    return memory;
}

void GlobalMemory::Free()
{
    std::free(m_handle);
    m_handle = nullptr;
    m_data = nullptr;
    m_size = 0;
}

}  // namespace platform
