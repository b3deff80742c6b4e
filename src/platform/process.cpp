#include "platform/process.h"

#include "platform/code_page.h"

namespace platform {

std::string ApplicationName()
{
    const auto path = ExecutableFileName();
    if (!path) {
        return SHIPPED_APPLICATION_NAME;
    }
    // UTF-8 holds '\', '/', ':' and '.' only as themselves.
    std::string name = path->substr(path->find_last_of("\\/:") + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos) {
        name.resize(dot);
    }
    return Utf8ToAnsi(name).value_or(SHIPPED_APPLICATION_NAME);
}

}  // namespace platform
