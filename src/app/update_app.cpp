#include "app/update_app.h"

#include <algorithm>

#include "platform/file.h"
#include "platform/max_path.h"
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

bool GetModuleDirectory(std::span<char> buffer)
{
    if (buffer.empty()) {
        return false;
    }
    const auto name = platform::ExecutableFileName();
    if (!name || name->empty()) {
        return false;
    }
    // One character at a time, a lead byte and its trail byte together.
    std::size_t cut = 0;
    std::size_t position = 0;
    for (std::size_t characters = 0; position < name->size() && characters < platform::MAX_PATH_CHARS; ++characters) {
        const char c = (*name)[position];
        if (platform::IsLeadByte(c) && position + 1 < name->size()) {
            position += 2;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') {
            cut = position;
        }
        ++position;
    }
    const auto length = std::min(cut, buffer.size() - 1);
    std::copy_n(name->begin(), length, buffer.begin());
    buffer[length] = '\0';
    return true;
}

bool CheckRequiredFiles()
{
    std::array<char, platform::MAX_PATH_CHARS> directory{};
    GetModuleDirectory(directory);
    for (const char* file : REQUIRED_FILES) {
        const std::string path = std::string(directory.data()) + "\\" + file;
        if (!platform::FileExists(path)) {
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
