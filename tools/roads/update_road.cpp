#include "roads/update_road.h"

#include <charconv>

#include "res/resource.h"

namespace roads {
namespace {

using namespace std::chrono_literals;

// The transfer's screenshot is taken once the bar is about half way.
constexpr int kTransferShotPercent = 40;

int PercentOf(const std::string& text)
{
    int value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The progress and operating dialogs, told apart by their controls.
HWND FindWithItem(DWORD processId, int id)
{
    for (const auto& window : uidriver::TopLevelWindows(processId)) {
        if (window.className == "#32770" && ::GetDlgItem(window.handle, id) != nullptr) {
            return window.handle;
        }
    }
    return nullptr;
}

}  // namespace

const char* StepName(Step step)
{
    switch (step) {
        case Step::Warning:
            return "warning";
        case Step::Printers:
            return "printers";
        case Step::Confirmation:
            return "confirmation";
        case Step::Transfer:
            return "transfer";
        case Step::Operating:
            return "operating";
        case Step::Completed:
            return "completed";
    }
    return "step";
}

UpdateRoad DriveWholeUpdate(const uidriver::Process& program, const std::string& printer, const StepHook& atStep)
{
    UpdateRoad road;
    const auto step = [&](Step reached, HWND window) {
        if (atStep) {
            atStep(reached, window);
        }
    };

    const auto warning = uidriver::WaitForDialog(program.Id(), kWarningTitle);
    if (!warning) {
        road.failure = "the warning \"" + std::string(kWarningTitle) + "\" did not show";
        return road;
    }
    road.warningTexts = uidriver::StaticTexts(warning->handle);
    step(Step::Warning, warning->handle);
    uidriver::Click(warning->handle, IDOK);
    uidriver::WaitUntilGone(warning->handle);

    const auto main = uidriver::WaitForDialog(program.Id(), kMainTitle);
    if (!main) {
        road.failure = "the main dialog \"" + std::string(kMainTitle) + "\" did not show";
        return road;
    }
    road.printers = uidriver::ComboEntries(main->handle, IDC_PRINTER_COMBO);
    road.preselected = uidriver::ComboSelection(main->handle, IDC_PRINTER_COMBO);
    step(Step::Printers, main->handle);
    if (!printer.empty() && !uidriver::SelectComboEntry(main->handle, IDC_PRINTER_COMBO, printer)) {
        road.failure = "the list does not offer \"" + printer + "\"";
        return road;
    }
    uidriver::Click(main->handle, IDC_UPDATE);

    const auto confirmation = uidriver::WaitForMessageBox(program.Id());
    if (!confirmation) {
        road.failure = "no confirmation after Update";
        return road;
    }
    road.confirmation = confirmation->text;
    road.confirmationIcon = uidriver::MessageBoxIcon(*confirmation);
    step(Step::Confirmation, confirmation->handle);
    if (confirmation->buttons.size() != 2) {
        road.failure = "the box after Update is no Yes/No confirmation: " + confirmation->text;
        return road;
    }
    uidriver::Answer(*confirmation, IDYES);
    if (!uidriver::WaitUntilGone(confirmation->handle)) {
        road.failure = "the confirmation did not close on Yes";
        return road;
    }

    // The transfer: the progress dialog, then the operating dialog, then the
    // closing box. The texts are read without messages: the program's
    // user-interface thread is busy at times.
    bool transferShot = false;
    std::optional<uidriver::MessageBoxView> outcome;
    const bool ended = uidriver::WaitUntil(
        [&] {
            if (const HWND progress = FindWithItem(program.Id(), IDC_TRANSFER_PERCENT)) {
                road.progressCaption = uidriver::RawText(progress);
                const auto percent = uidriver::RawText(::GetDlgItem(progress, IDC_TRANSFER_PERCENT));
                if (road.percentTexts.empty() || road.percentTexts.back() != percent) {
                    road.percentTexts.push_back(percent);
                }
                const int value = PercentOf(percent);
                if (!transferShot && value >= kTransferShotPercent && value < 100) {
                    transferShot = true;
                    step(Step::Transfer, progress);
                }
            }
            if (const HWND operating = FindWithItem(program.Id(), IDC_OPERATING_TEXT)) {
                if (!road.operatingShown) {
                    road.operatingShown = true;
                    step(Step::Operating, operating);
                }
            }
            outcome = uidriver::FindMessageBox(program.Id());
            return outcome.has_value() || program.HasExited();
        },
        kTransferWait);
    if (!outcome) {
        road.failure = ended ? "the program ended without a closing message" : "the transfer did not end in time";
        return road;
    }
    road.outcome = outcome->text;
    road.outcomeIcon = uidriver::MessageBoxIcon(*outcome);
    step(Step::Completed, outcome->handle);
    uidriver::Answer(*outcome, IDOK);

    road.exitCode = program.WaitForExit();
    if (!road.exitCode) {
        road.failure = "the program did not end after the closing message";
    }
    return road;
}

}  // namespace roads
