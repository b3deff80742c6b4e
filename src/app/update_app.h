#pragma once
// The application object: before anything is shown it checks that the
// driver's two libraries and the firmware data file lie beside the program,
// binds the transfer library and runs the main dialog; at exit it remembers
// the printer last initialised and unloads the transfer library.

#include <array>
#include <span>
#include <string>

inline constexpr std::size_t MODULE_PATH_SIZE = 260;

// The files that must lie in the program's directory, in the order they are
// looked for.
inline constexpr std::array<const char*, 3> REQUIRED_FILES{"TRDRV.DLL", "tmfilo.dll", "VR380MX_510.pd3"};

class CUpdateApp {
public:
    CUpdateApp() = default;
    virtual ~CUpdateApp() = default;
    CUpdateApp(const CUpdateApp&) = delete;
    CUpdateApp& operator=(const CUpdateApp&) = delete;

    // Always false: the program has no message loop of its own, so exit
    // follows at once.
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

// The executable's directory, without the last separator, into a buffer of
// at least MODULE_PATH_SIZE characters. Double-byte characters are stepped
// over whole, so a trail byte equal to '\' is never taken for a separator.
bool GetModuleDirectory(std::span<char> buffer);

// A value of the profile's section ("Settings" when none is named), or the
// machine-wide one when the user's is empty.
std::string ReadSetting(const char* section, const char* key, const char* defaultValue = nullptr);

// The same value under HKEY_LOCAL_MACHINE.
std::string ReadMachineSetting(const char* section, const char* key, const char* defaultValue = nullptr);

inline constexpr const char* PROFILE_SECTION = "Settings";
inline constexpr const char* PROFILE_DEFAULT_TM_PRINTER = "DefTmPrn";
inline constexpr const char* PROFILE_DEFAULT_PRINTER = "DefPrn";
