#pragma once
// The running program as the platform sees it: the executable's full file
// name, and the system code page's double-byte lead bytes, which a walk over
// a path must step over together with their trail bytes.

#include <optional>
#include <string>

#include "platform/max_path.h"

namespace platform {

// The executable's full file name, at most MAX_PATH_CHARS characters; empty when the
// platform cannot tell it.
std::optional<std::string> ExecutableFileName();

// Whether the byte opens a double-byte character in the system code page.
bool IsLeadByte(char byte);

}  // namespace platform
