#pragma once
// One owner of a platform handle: the backend's release function runs on
// destruction and when the handle is replaced; moves hand the handle on and
// leave the source empty; copies do not exist. A value-initialised Handle is
// the empty one.

#include <utility>

namespace platform {

template <class Handle, void (*Release)(Handle)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, Handle{}));
        }
        return *this;
    }

    const Handle& Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Handle{}; }

    // Releases the handle held, if any, and takes the new one.
    void Reset(Handle handle = Handle{}) noexcept
    {
        const Handle old = std::exchange(m_handle, handle);
        if (old != Handle{}) {
            Release(old);
        }
    }

private:
    Handle m_handle{};
};

}  // namespace platform
