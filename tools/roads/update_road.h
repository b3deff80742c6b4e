#pragma once
// VR38Update as a user meets it, driven from another process through its
// windows: the titles and texts it shows, and one whole update from the
// warning to the end of the program. A hook at each step lets the caller look
// at the screen there (the demo saves a screenshot).

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "uidriver/ui_driver.h"

namespace roads {

inline constexpr const char* kApplicationName = "VR38Update";  // caption of boxes and the progress dialog
inline constexpr const char* kWarningTitle = "Firmware Update Tool";
inline constexpr const char* kMainTitle = "VR-380MX Firmware Update Tool";
inline constexpr const char* kCompleted = "Completed the firmware update for VR-380MX.";

// The longest a transfer of the simulated printer may take before the road
// gives up on it.
inline constexpr std::chrono::seconds kTransferWait{90};

enum class Step { Warning, Printers, Confirmation, Transfer, Operating, Completed };

// "warning", "printers", ...: the step's name in file names and reports.
const char* StepName(Step step);

// A message box as the road met it: the window that owns it and the
// program's other windows that still took input while it was up ("main",
// "progress", "operating" or a title; "none" for no owner).
struct BoxSeen {
    std::string text;
    uidriver::StandardIcon icon = uidriver::StandardIcon::None;
    std::string owner;
    std::vector<std::string> windowsTakingInput;
};

// What the road saw, step by step.
struct UpdateRoad {
    std::vector<std::string> warningTexts;  // the warning's static texts
    std::vector<std::string> printers;      // the combo box's entries, in the order shown
    std::string preselected;                // the entry selected when the dialog showed
    std::string confirmation;
    BoxSeen confirmationBox;
    std::string progressCaption;
    RECT mainRect{};                        // the main dialog when the progress dialog first showed
    RECT progressRect{};                    // the progress dialog then
    std::vector<std::string> percentTexts;  // each change of the percentage seen
    bool operatingShown = false;
    std::vector<BoxSeen> boxes;  // after the confirmation, in order
    std::string outcome;         // the closing message: the last box
    std::optional<DWORD> exitCode;
    std::string failure;  // where the road stopped short; empty when it ran to the end
};

// Called at each step with the window the step is about; the road waits for
// it to return.
using StepHook = std::function<void(Step step, HWND window)>;

// Drives a started VR38Update through one update of printer (the preselected
// entry when empty): Start in the warning, the printer in the list, Update,
// Yes to the confirmation, the transfer, OK to every box that follows (the
// Completed step comes at each), and the end of the program.
UpdateRoad DriveWholeUpdate(const uidriver::Process& program, const std::string& printer = {},
                            const StepHook& atStep = {});

}  // namespace roads
