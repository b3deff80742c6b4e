// The printer description built from what a printer's driver answers: the
// device mode (public part, dmSize, dmDriverExtra and the private block in
// either layout), every standard capability answer, the paper measurements
// and the information library's answers, which may differ by device name.

#include "catalogue/driver_info.h"
#include "catalogue/printer_enum.h"
#include "description/printer_description.h"
#include "fuzz_machine.h"
#include "platform/devmode_layout.h"
#include "platform/printing_constants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    using namespace printing;
    namespace h = platform::headless;
    FuzzedDataProvider data(bytes, size);
    fuzz::NewMachine(data);

    const std::string driver =
        data.ConsumeBool() ? std::string(kSupportedDriverName) : data.ConsumeRandomLengthString(80);
    const std::string printer = data.ConsumeBool() ? driver : data.ConsumeRandomLengthString(300);
    h::InstallPrinter(h::MakeSpoolerPrinter(printer, driver, data.ConsumeIntegral<std::uint32_t>(), "USB001"));
    h::SetRegistryString(
        platform::RegistryRoot::LocalMachine,
        std::string(REGISTRY_SOFTWARE_KEY) + "\\" + REGISTRY_KEY_NAME + "\\Tapemark\\Driver\\3.0\\" + driver,
        INFO_DLL_VALUE, fuzz::kInfoLibraryPath);

    h::PrinterDriverScript script;
    script.devMode = fuzz::Bytes(data, data.ConsumeIntegralInRange<std::size_t>(0, devmode_layout::PUBLIC_SIZE + 300));
    script.acceptInput = data.ConsumeBool();
    script.escapesSupported = data.ConsumeBool();
    const std::pair<std::uint16_t, std::size_t> lists[] = {{CAPS_RESOLUTIONS, RESOLUTION_ENTRY},
                                                           {CAPS_PAPER_NAMES, PAPER_NAME_SIZE},
                                                           {CAPS_PAPER_SIZES, PAPER_SIZE_ENTRY},
                                                           {CAPS_PAPERS, PAPER_CODE_ENTRY}};
    for (const auto& [code, entrySize] : lists) {
        script.capabilities[code] = fuzz::ListAnswer(data, entrySize);
    }
    for (const auto code : {CAPS_FIELDS, CAPS_MAX_EXTENT, CAPS_MIN_EXTENT, CAPS_ORIENTATION, CAPS_COPIES}) {
        script.capabilities[code].result = data.ConsumeIntegral<std::int32_t>();
    }
    for (int paper = data.ConsumeIntegralInRange(0, 4); paper > 0; --paper) {
        auto& table = data.ConsumeBool() ? script.physicalSize : script.printingOffset;
        table[data.ConsumeIntegral<std::int16_t>()] = {
            data.ConsumeIntegral<int>(), data.ConsumeIntegral<std::int32_t>(), data.ConsumeIntegral<std::int32_t>()};
    }
    h::SetPrinterDriver(printer, std::move(script));

    std::string name = printer;
    if (data.ConsumeBool()) {
        AppendSpecialTapeSuffix(name);
    }
    PrinterDescription description;
    if (description.InitFromName(name.c_str(), data.ConsumeIntegral<std::uint32_t>())) {
        description.GetModelId();
    }
    return 0;
}
