// simsetup: installs simulated VR-380MX printers into Windows or Wine.
//
//   simsetup --info-dll PATH [--ppd PATH]
//            --printer NAME [--port PORT] [--hidden] [--default] [--driver DRIVER] ...
//
// It copies the printer's PPD into the printer-driver directory, adds the
// driver "Corvane VR-380MX" (on Wine's PostScript driver), registers the
// information library at PATH as the driver's "Info Dll" under
// HKEY_LOCAL_MACHINE (64-bit view), and adds each printer: on port "FILE:"
// unless --port says otherwise, hidden or the default printer if asked, and
// with another driver (added the same way, without an information library)
// when --driver names one. Options after --printer apply to that printer.
//
// Whether the driver supports the special-tape mode is its information
// library's answer, which comes from the simulator's scenario
// (info.special_tape), not from here.
//
// The PPD is VR380MX.ppd beside this program unless --ppd names another.
// Exit code 0 when everything was installed; 1 after a failure, 2 for a bad
// command line.

#include <windows.h>
#include <winspool.h>

#include <array>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/driver_info.h"
#include "catalogue/printer_enum.h"

namespace {

constexpr const char* kPpdName = "VR380MX.ppd";
constexpr const char* kDefaultPort = "FILE:";
// Wine's PostScript driver serves as both the driver and its configuration
// module; it reads the page sizes from the PPD.
constexpr const char* kDriverModule = "wineps.drv";

struct PrinterRequest {
    std::string name;
    std::string port = kDefaultPort;
    std::string driver{kSupportedDriverName};
    bool hidden = false;
    bool makeDefault = false;
};

struct Options {
    std::string infoDll;
    std::string ppd;
    std::vector<PrinterRequest> printers;
};

void Usage()
{
    std::fprintf(stderr,
                 "usage: simsetup --info-dll PATH [--ppd PATH]\n"
                 "                --printer NAME [--port PORT] [--hidden] [--default] [--driver DRIVER] ...\n");
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--info-dll" && hasValue) {
            options.infoDll = argv[++i];
        } else if (option == "--ppd" && hasValue) {
            options.ppd = argv[++i];
        } else if (option == "--printer" && hasValue) {
            options.printers.push_back({argv[++i]});
        } else if (options.printers.empty()) {
            return false;
        } else if (option == "--port" && hasValue) {
            options.printers.back().port = argv[++i];
        } else if (option == "--driver" && hasValue) {
            options.printers.back().driver = argv[++i];
        } else if (option == "--hidden") {
            options.printers.back().hidden = true;
        } else if (option == "--default") {
            options.printers.back().makeDefault = true;
        } else {
            return false;
        }
    }
    return !options.infoDll.empty() && !options.printers.empty();
}

void Fail(const char* what, const std::string& subject)
{
    std::fprintf(stderr, "simsetup: %s %s failed (error %lu)\n", what, subject.c_str(), ::GetLastError());
}

std::string FullPath(const std::string& path)
{
    std::array<char, MAX_PATH> full{};
    const DWORD length = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return length == 0 || length >= full.size() ? path : std::string(full.data(), length);
}

std::string ProgramDirectory()
{
    std::array<char, MAX_PATH> path{};
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::string text(path.data(), length);
    const auto slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

bool CopyPpd(const std::string& source)
{
    std::array<char, MAX_PATH> directory{};
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory.data()),
                                      static_cast<DWORD>(directory.size()), &needed)) {
        Fail("GetPrinterDriverDirectoryA", "");
        return false;
    }
    const std::string target = std::string(directory.data()) + "\\" + kPpdName;
    if (!::CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        Fail("copying the PPD to", target);
        return false;
    }
    return true;
}

bool AddDriver(const std::string& name)
{
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = const_cast<char*>(name.c_str());
    info.pDriverPath = const_cast<char*>(kDriverModule);
    info.pDataFile = const_cast<char*>(kPpdName);
    info.pConfigFile = const_cast<char*>(kDriverModule);
    if (!::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) &&
        ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        Fail("AddPrinterDriverA", name);
        return false;
    }
    return true;
}

bool RegisterInfoLibrary(const std::string& infoDll)
{
    const std::string path = std::string(REGISTRY_SOFTWARE_KEY) + "\\" + REGISTRY_KEY_NAME + "\\" +
                             REGISTRY_TAPEMARK_KEY + "\\" + REGISTRY_DRIVER_KEY + "\\" + REGISTRY_VERSION_KEY + "\\" +
                             std::string(kSupportedDriverName);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        Fail("creating HKLM", path);
        return false;
    }
    const LONG status = ::RegSetValueExA(key, INFO_DLL_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(infoDll.c_str()),
                                         static_cast<DWORD>(infoDll.size() + 1));
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        Fail("writing Info Dll under", path);
        return false;
    }
    return true;
}

bool AddOnePrinter(const PrinterRequest& request)
{
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(request.name.c_str());
    info.pPortName = const_cast<char*>(request.port.c_str());
    info.pDriverName = const_cast<char*>(request.driver.c_str());
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL | (request.hidden ? PRINTER_ATTRIBUTE_HIDDEN : 0);
    HANDLE printer = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (printer == nullptr) {
        Fail("AddPrinterA", request.name);
        return false;
    }
    ::ClosePrinter(printer);
    if (request.makeDefault && !::SetDefaultPrinterA(request.name.c_str())) {
        Fail("SetDefaultPrinterA", request.name);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        Usage();
        return 2;
    }
    if (options.ppd.empty()) {
        options.ppd = ProgramDirectory() + "\\" + kPpdName;
    }
    if (!CopyPpd(options.ppd)) {
        return 1;
    }
    std::set<std::string> drivers{std::string(kSupportedDriverName)};
    for (const auto& printer : options.printers) {
        drivers.insert(printer.driver);
    }
    for (const auto& driver : drivers) {
        if (!AddDriver(driver)) {
            return 1;
        }
    }
    const auto infoDll = FullPath(options.infoDll);
    if (!RegisterInfoLibrary(infoDll)) {
        return 1;
    }
    for (const auto& printer : options.printers) {
        if (!AddOnePrinter(printer)) {
            return 1;
        }
        std::printf("installed \"%s\" on %s, driver \"%s\"%s%s\n", printer.name.c_str(), printer.port.c_str(),
                    printer.driver.c_str(), printer.hidden ? ", hidden" : "", printer.makeDefault ? ", default" : "");
    }
    std::printf("Info Dll = %s\n", infoDll.c_str());
    return 0;
}
