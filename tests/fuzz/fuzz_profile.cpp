// The program's settings and where it lies: the profile's values under the
// user's and the machine's key (any type, size and terminator), and the
// executable's path (any bytes for its UTF-8) and the application name made
// of it, in a double-byte code page or not.

#include "app/update_app.h"
#include "fuzz_machine.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "res/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    using namespace platform;
    FuzzedDataProvider data(bytes, size);
    fuzz::NewMachine(data);
    SetRegistryKey(LoadResourceString(IDS_REGISTRY_KEY));

    const auto section = ProfileSectionPath(PROFILE_SECTION);
    for (const auto root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        for (const char* key : {PROFILE_DEFAULT_PRINTER, PROFILE_DEFAULT_TM_PRINTER}) {
            if (data.ConsumeBool()) {
                const auto type = data.ConsumeBool() ? REGISTRY_TYPE_STRING : data.ConsumeIntegral<std::uint32_t>();
                headless::SetRegistryValue(root, section, key, type, data.ConsumeRandomLengthString(600));
            }
        }
    }
    headless::SetDoubleByteCodePage(data.ConsumeBool());
    headless::SetExecutableFileName(data.ConsumeRandomLengthString(600));

    ReadSetting(nullptr, PROFILE_DEFAULT_PRINTER);
    ReadSetting(PROFILE_SECTION, PROFILE_DEFAULT_TM_PRINTER, "none");
    GetModuleDirectory();
    ApplicationName();
    return 0;
}
