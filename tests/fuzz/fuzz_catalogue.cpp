// The printer catalogue from what the machine holds: the spooler's printers
// (names, driver names, attributes, ports), the maker's driver list in the
// registry with its "Info Dll" values of any type and size, other software
// keys, and the information library's answers, which may differ by device
// name. Enumerated as the program does, then searched and listed.

#include "catalogue/driver_info.h"
#include "catalogue/printer_enum.h"
#include "fuzz_machine.h"
#include "printers/printer_list.h"
#include "testing/simulated_printer_driver.h"

namespace {

std::string Name(FuzzedDataProvider& data, const std::vector<std::string>& known)
{
    return data.ConsumeBool() ? known[data.ConsumeIntegralInRange<std::size_t>(0, known.size() - 1)]
                              : data.ConsumeRandomLengthString(300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    namespace h = platform::headless;
    using platform::RegistryRoot;
    FuzzedDataProvider data(bytes, size);
    fuzz::NewMachine(data);
    ResetPrinterList();

    const std::string company = std::string(REGISTRY_SOFTWARE_KEY) + "\\" + REGISTRY_KEY_NAME;
    const std::vector<std::string> drivers{std::string(kSupportedDriverName), "Corvane RX-2", "ORA Label"};
    const std::vector<std::string> printers{drivers[0], "Corvane VR-380MX (Copy 1)", "Office"};
    for (int i = data.ConsumeIntegralInRange(0, 4); i > 0; --i) {
        const auto name = Name(data, printers);
        h::InstallPrinter(h::MakeSpoolerPrinter(name, Name(data, drivers), data.ConsumeIntegral<std::uint32_t>(),
                                                data.ConsumeRandomLengthString(20)));
        h::SetPrinterDriver(name, sim::testing::SimulatedPrinterDriver(data.ConsumeIntegral<std::uint16_t>()));
    }
    for (int i = data.ConsumeIntegralInRange(0, 3); i > 0; --i) {
        const auto key = company + "\\Tapemark\\Driver\\3.0\\" + Name(data, drivers);
        std::string value = data.ConsumeBool() ? fuzz::kInfoLibraryPath : data.ConsumeRandomLengthString(300);
        if (data.ConsumeBool()) {
            value.push_back('\0');
        }
        h::SetRegistryValue(RegistryRoot::LocalMachine, key, data.ConsumeBool() ? INFO_DLL_VALUE : "info dll",
                            data.ConsumeBool() ? platform::REGISTRY_TYPE_STRING : data.ConsumeIntegral<std::uint32_t>(),
                            std::move(value));
    }
    for (int i = data.ConsumeIntegralInRange(0, 3); i > 0; --i) {
        h::AddRegistryKey(RegistryRoot::LocalMachine,
                          std::string(REGISTRY_SOFTWARE_KEY) + "\\" + data.ConsumeRandomLengthString(160));
    }

    const auto request = data.ConsumeIntegral<std::uint32_t>();
    if (const int count = EnumPrinterEntries(request); count > 0) {
        std::vector<PrinterEntry> entries(static_cast<std::size_t>(count));
        EnumPrinterEntries(request, entries);
    }
    std::array<char, platform::MAX_PATH_CHARS> name{};
    const auto preferred = Name(data, printers);
    FindPrinterByModelId(data.ConsumeIntegral<std::uint32_t>(), name, preferred.c_str());
    std::array<char, platform::MAX_PATH_CHARS> library{};
    QueryPrinterInfoLibrary(preferred, library);
    auto& list = GetPrinterList();
    if (list.Refresh()) {
        list.Select(preferred.c_str());
    }
    return 0;
}
