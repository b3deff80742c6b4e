#pragma once
// The running program as the platform sees it: the executable's full file
// name, which the system's wide interface gives whatever script its folder is
// named in, the application name made of it, and the user's folder for the
// program's own data.

#include <optional>
#include <string>

#include "platform/max_path.h"

namespace platform {

// The executable's full file name in UTF-8, at most MAX_PATH_CHARS - 1
// characters as the wide interface counts them; empty when the platform
// cannot tell it or the name is longer.
std::optional<std::string> ExecutableFileName();

// The name the program ships under.
inline constexpr const char* SHIPPED_APPLICATION_NAME = "VR38Update";

// The executable's file name without directory and extension, in the ANSI
// code page: it names the profile's key and captions the message boxes. Where
// the code page cannot hold that name, or the executable's name cannot be
// had, the shipped name, so that the profile is the shipped program's rather
// than one under a name of question marks.
std::string ApplicationName();

// The user's folder for data that stays on this machine (%LOCALAPPDATA%,
// the known folder LocalAppData), in UTF-8; empty when the user has none.
std::optional<std::string> LocalAppDataFolder();

}  // namespace platform
