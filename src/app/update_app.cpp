#include "app/update_app.h"

#include "platform/file.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/text_format.h"
#include "platform/ui.h"
#include "printers/printer_list.h"
#include "res/resource.h"
#include "transfer/transfer_library.h"

CUpdateApp& GetUpdateApp()
{
    static CUpdateApp app;
    return app;
}

std::optional<std::string> GetModuleDirectory()
{
    const auto name = platform::ExecutableFileName();
    if (!name || name->empty()) {
        return std::nullopt;
    }
    // In UTF-8 a separator is never part of another character.
    const auto separator = name->find_last_of("\\/:");
    return name->substr(0, separator == std::string::npos ? 0 : separator);
}

bool CheckRequiredFiles()
{
    // Without the program's own folder no file is looked for anywhere else:
    // the first one is not found.
    const auto directory = GetModuleDirectory();
    for (const char* file : REQUIRED_FILES) {
        if (!directory || !platform::FileExists(*directory + "\\" + file)) {
            platform::ShowMessageBox(platform::FormatText("%s is not found.", file));
            return false;
        }
    }
    return true;
}

std::string ReadMachineSetting(const char* section, const char* key, const char* defaultValue)
{
    const std::string fallback = defaultValue != nullptr ? defaultValue : "";
    const std::string path = "Software\\" + platform::LoadResourceString(IDS_REGISTRY_KEY) + "\\" +
                             platform::ApplicationName() + "\\" + (section != nullptr ? section : PROFILE_SECTION);
    const auto machine =
        platform::RegistryKey::Create(platform::RegistryRoot::LocalMachine, path, platform::REGISTRY_ACCESS_READ);
    if (!machine) {
        return fallback;
    }
    return platform::ReadStringValue(machine, key).value_or(fallback);
}

std::string ReadSetting(const char* section, const char* key, const char* defaultValue)
{
    const std::string sectionName = section != nullptr ? section : PROFILE_SECTION;
    const auto value = platform::GetProfileString(sectionName, key);
    if (value.empty()) {
        return ReadMachineSetting(sectionName.c_str(), key, defaultValue);
    }
    return value;
}

int CUpdateApp::ExitInstance()
{
    if (!g_strTransferPrinter.empty()) {
        platform::WriteProfileString(PROFILE_SECTION, PROFILE_DEFAULT_PRINTER, g_strTransferPrinter);
        platform::WriteProfileString(PROFILE_SECTION, PROFILE_DEFAULT_TM_PRINTER, g_strTransferPrinter);
    }
    FreeTransferLibrary();
    return 0;
}

bool CUpdateApp::BindPrinter(std::string name)
{
    auto& list = GetPrinterList();
    if (!list.Select(name.c_str())) {
        return false;
    }
    std::string current;
    if (!list.GetCurrentName(current)) {
        return false;
    }
    const auto printerId = static_cast<std::uint16_t>(list.m_nCurrentModelId & 0xFFFF);
    if (!TransferInitPrinter(current)) {
        return false;
    }
    g_wTransferPrinterId = printerId;
    return true;
}
