// Ownership of the layer's handles, the same whatever backend holds them:
// one owner, moved on, released on destruction. Each backend supplies the
// release itself (Free, Close, Reset).

#include <utility>

#include "platform/file.h"
#include "platform/global_memory.h"
#include "platform/library.h"
#include "platform/printer_driver.h"
#include "platform/registry.h"
#include "platform/spooler.h"

namespace platform {

Library::~Library()
{
    Free();
}

Library::Library(Library&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

Library& Library::operator=(Library&& other) noexcept
{
    if (this != &other) {
        Free();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

RegistryKey::~RegistryKey()
{
    Close();
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

Printer::~Printer()
{
    Close();
}

Printer::Printer(Printer&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

Printer& Printer::operator=(Printer&& other) noexcept
{
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

InformationContext::~InformationContext()
{
    Reset();
}

InformationContext::InformationContext(InformationContext&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
{
}

InformationContext& InformationContext::operator=(InformationContext&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

GlobalMemory::~GlobalMemory()
{
    Free();
}

GlobalMemory::GlobalMemory(GlobalMemory&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0))
{
}

GlobalMemory& GlobalMemory::operator=(GlobalMemory&& other) noexcept
{
    if (this != &other) {
        Free();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

File::File(const std::string& path, unsigned openFlags)
{
    if (!Open(path, openFlags)) {
        throw FileException(FileException::Cause::OpenFailed, path);
    }
}

File::~File()
{
    Close();
}

}  // namespace platform
