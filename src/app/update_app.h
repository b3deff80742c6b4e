#pragma once
// The application object: before anything is shown it checks that the
// driver's two libraries and the firmware data file lie beside the program,
// binds the transfer library and runs the main dialog; at exit it remembers
// the printer last initialised and unloads the transfer library.

#include <array>
#include <optional>
#include <string>

#include "driver/driver_exports.h"
#include "platform/text_format.h"
#include "transfer/firmware_format.h"

// The start-up check names the transfer library in capitals, and its message
// shows that spelling; the file system finds the same file either way.
inline constexpr auto TRANSFER_LIBRARY_FILE = platform::AsciiUpper(TRANSFER_LIBRARY_NAME);

// The files that must lie in the program's directory, in the order they are
// looked for.
inline constexpr std::array<const char*, 3> REQUIRED_FILES{TRANSFER_LIBRARY_FILE.data(), RAW_IO_LIBRARY_NAME,
                                                           FIRMWARE_DATA_FILE};

class CUpdateApp {
public:
    CUpdateApp() = default;
    virtual ~CUpdateApp() = default;
    CUpdateApp(const CUpdateApp&) = delete;
    CUpdateApp& operator=(const CUpdateApp&) = delete;

    // Always false: the program has no message loop of its own, so exit
    // follows at once. In app_start.cpp, above the main dialog it runs.
    virtual bool InitInstance();
    virtual int ExitInstance();

    // Makes the printer current in the installed-printer list and
    // initialises the transfer library for it; the low 16 bits of its model
    // identifier become the printer id.
    bool BindPrinter(std::string name);
};

// The one application object.
CUpdateApp& GetUpdateApp();

// True when all required files exist in the executable's directory; shows
// "<name> is not found." for the first one missing.
bool CheckRequiredFiles();

// The executable's directory without the last separator, in UTF-8, so that
// a folder named in any script is found; empty when the platform cannot tell
// the executable's name (as when it is longer than the limit).
std::optional<std::string> GetModuleDirectory();

// A value of the profile's section ("Settings" when none is named), or the
// machine-wide one when the user's is empty.
std::string ReadSetting(const char* section, const char* key, const char* defaultValue = nullptr);

// The same value under HKEY_LOCAL_MACHINE.
std::string ReadMachineSetting(const char* section, const char* key, const char* defaultValue = nullptr);

inline constexpr const char* PROFILE_SECTION = "Settings";
inline constexpr const char* PROFILE_DEFAULT_TM_PRINTER = "DefTmPrn";
inline constexpr const char* PROFILE_DEFAULT_PRINTER = "DefPrn";
