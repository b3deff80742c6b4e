// vr38demo: clicks through one whole firmware update of VR38Update.exe as a
// user would, and saves a screenshot of every step.
//
//   vr38demo PROGRAM SHOTS_FOLDER [PRINTER]
//
// PROGRAM is started in its own folder; the screenshots are BMP files named
// "1-warning.bmp", "2-printers.bmp" ... in SHOTS_FOLDER. PRINTER picks an
// entry of the list; without it the preselected one is updated. Each step is
// reported on the standard output. Exit code 0 when the update completed and
// the program ended, 1 when a step was not reached, 2 for a bad command line.

#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "res/resource.h"
#include "roads/update_road.h"
#include "uidriver/ui_driver.h"

namespace {

using namespace std::chrono_literals;

// What the screen shows a moment after a window has painted: the caption and
// frame follow the client area.
constexpr auto kSettle = 150ms;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string OneLine(std::string text)
{
    for (auto& c : text) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return text;
}

void PaintedEverywhere(DWORD processId)
{
    for (const auto& window : uidriver::TopLevelWindows(processId)) {
        uidriver::WaitUntilPainted(window.handle);
    }
    std::this_thread::sleep_for(kSettle);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: vr38demo PROGRAM SHOTS_FOLDER [PRINTER]\n");
        return 2;
    }
    const std::string program = argv[1];
    const std::string shots = argv[2];
    const std::string printer = argc > 3 ? argv[3] : "";

    auto started = uidriver::Process::Start(program, FolderOf(program));
    if (!started) {
        std::fprintf(stderr, "vr38demo: cannot start %s\n", program.c_str());
        return 1;
    }
    const DWORD processId = started->Id();

    int shot = 0;
    bool shotsSaved = true;
    const auto atStep = [&](roads::Step step, HWND window) {
        uidriver::Activate(window);
        const bool openList = step == roads::Step::Printers && uidriver::IsItemEnabled(window, IDC_PRINTER_COMBO);
        if (openList) {
            uidriver::ShowComboList(window, IDC_PRINTER_COMBO, true);  // the list as the user opens it
        }
        PaintedEverywhere(processId);
        const auto path = shots + "\\" + std::to_string(++shot) + "-" + roads::StepName(step) + ".bmp";
        shotsSaved = uidriver::SaveScreenshot(path) && shotsSaved;
        if (openList) {
            uidriver::ShowComboList(window, IDC_PRINTER_COMBO, false);
        }
        std::printf("  %d %-13s %s\n", shot, roads::StepName(step), OneLine(uidriver::Text(window)).c_str());
        std::fflush(stdout);
    };

    const auto road = roads::DriveWholeUpdate(*started, printer, atStep);
    std::printf("  printers:     ");
    for (const auto& entry : road.printers) {
        std::printf("\"%s\" ", entry.c_str());
    }
    std::printf("(updated: \"%s\")\n", printer.empty() ? road.preselected.c_str() : printer.c_str());
    std::printf("  confirmation: %s\n", OneLine(road.confirmation).c_str());
    std::printf("  transfer:     ");
    for (const auto& percent : road.percentTexts) {
        std::printf("%s  ", percent.c_str());
    }
    std::printf("%s\n", road.operatingShown ? "then \"The unit is operating...\"" : "");
    std::printf("  outcome:      %s\n", OneLine(road.outcome).c_str());
    if (!road.failure.empty()) {
        std::fprintf(stderr, "vr38demo: %s\n", road.failure.c_str());
        return 1;
    }
    if (road.outcome != roads::kCompleted || road.exitCode != 0u) {
        std::fprintf(stderr, "vr38demo: the update did not complete\n");
        return 1;
    }
    if (!shotsSaved) {
        std::fprintf(stderr, "vr38demo: cannot write the screenshots to %s\n", shots.c_str());
        return 1;
    }
    return 0;
}
