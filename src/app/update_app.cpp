#include "app/update_app.h"

#include <algorithm>
#include <cstdio>

#include "app/update_dlg.h"
#include "catalogue/printer_list.h"
#include "platform/file.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/ui.h"
#include "res/resource.h"
#include "transfer/transfer_library.h"

namespace {

constexpr std::size_t kMaxPathCharacters = 260;

std::string Formatted(const char* format, const std::string& argument)
{
    const auto size = std::snprintf(nullptr, 0, format, argument.c_str());
    std::string text(static_cast<std::size_t>(std::max(size, 0)) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, argument.c_str());
    text.resize(static_cast<std::size_t>(std::max(size, 0)));
    return text;
}

}  // namespace

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
    for (std::size_t characters = 0; position < name->size() && characters < kMaxPathCharacters; ++characters) {
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
    std::array<char, MODULE_PATH_SIZE> directory{};
    GetModuleDirectory(directory);
    for (const char* file : REQUIRED_FILES) {
        const std::string path = std::string(directory.data()) + "\\" + file;
        if (!platform::FileExists(path)) {
            platform::ShowMessageBox(Formatted("%s is not found.", file));
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

bool CUpdateApp::InitInstance()
{
    platform::SetRegistryKey(platform::LoadResourceString(IDS_REGISTRY_KEY));
    if (!CheckRequiredFiles()) {
        return false;
    }
    if (!LoadTransferLibrary()) {
        platform::ShowMessageBox(Formatted("Error: Not Found %s.", TRANSFER_LIBRARY_NAME), platform::MessageButtons::Ok,
                                 platform::MessageIcon::Error);
        return false;
    }
    CUpdateDlg dialog;
    platform::SetMainWindow(&dialog);
    dialog.DoModal();
    platform::SetMainWindow(nullptr);
    return false;
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
