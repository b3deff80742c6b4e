// The firmware data file, as the update procedure and the transfer worker
// read it and hand it to TRSendFile of the simulated driver.

#include "core/scenario.h"
#include "fuzz_machine.h"
#include "fuzz_update.h"
#include "testing/simulated_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, 0);
    fuzz::NewMachine(data);
    fuzz::UseWorkFolder();
    fuzz::WriteDataFile({bytes, size});
    sim::testing::SimulatedDriver driver;
    fuzz::RunUpdate(sim::kDefaultPrinterId);
    return 0;
}
