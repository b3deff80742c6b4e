#pragma once
// The stand-in libraries' functions, declared from the call shapes the
// program binds them with, so that a definition that differs does not
// compile. In the stand-in DLLs they are exported under their plain names.

#include <type_traits>

#include "driver/driver_exports.h"

#if defined(_WIN32)
#define STAND_IN_EXPORT __declspec(dllexport)
#else
#define STAND_IN_EXPORT
#endif

#define DECLARE_STAND_IN(name) extern "C" STAND_IN_EXPORT std::remove_pointer_t<name##Proc> name;
#define CHECK_STAND_IN(name) \
    static_assert(std::is_same_v<decltype(&name), name##Proc>, #name " differs from its call shape");
