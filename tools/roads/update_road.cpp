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

// What a window of the program is, for a report.
std::string NameOf(HWND window)
{
    if (window == nullptr) {
        return "none";
    }
    if (::GetDlgItem(window, IDC_TRANSFER_PERCENT) != nullptr) {
        return "progress";
    }
    if (::GetDlgItem(window, IDC_OPERATING_TEXT) != nullptr) {
        return "operating";
    }
    const auto title = uidriver::RawText(window);
    return title == kMainTitle ? "main" : title;
}

BoxSeen Look(DWORD processId, const uidriver::MessageBoxView& box)
{
    BoxSeen seen{box.text, uidriver::MessageBoxIcon(box), NameOf(box.owner), {}};
    for (const auto& window : uidriver::WindowsTakingInput(processId, box.handle)) {
        seen.windowsTakingInput.push_back(NameOf(window.handle));
    }
    return seen;
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
    road.confirmationBox = Look(program.Id(), *confirmation);
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
    // boxes. The texts are read without messages, so that a busy
    // user-interface thread would not hold the road up.
    bool transferShot = false;
    std::optional<uidriver::MessageBoxView> outcome;
    const auto nextBox = [&] {
        return uidriver::WaitUntil(
            [&] {
                if (const HWND progress = uidriver::DialogWithItem(program.Id(), IDC_TRANSFER_PERCENT)) {
                    if (road.progressCaption.empty()) {
                        ::GetWindowRect(main->handle, &road.mainRect);
                        ::GetWindowRect(progress, &road.progressRect);
                    }
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
                if (const HWND operating = uidriver::DialogWithItem(program.Id(), IDC_OPERATING_TEXT)) {
                    if (!road.operatingShown) {
                        road.operatingShown = true;
                        step(Step::Operating, operating);
                    }
                }
                outcome = uidriver::FindMessageBox(program.Id());
                return outcome.has_value() || program.HasExited();
            },
            kTransferWait);
    };
    while (nextBox() && outcome) {
        road.boxes.push_back(Look(program.Id(), *outcome));
        road.outcome = outcome->text;
        step(Step::Completed, outcome->handle);
        uidriver::Answer(*outcome, IDOK);
        if (!uidriver::WaitUntilGone(outcome->handle)) {
            road.failure = "the box \"" + outcome->text + "\" did not close on OK";
            return road;
        }
        outcome.reset();
    }
    if (road.boxes.empty()) {
        road.failure =
            program.HasExited() ? "the program ended without a closing message" : "the transfer did not end in time";
        return road;
    }

    road.exitCode = program.WaitForExit();
    if (!road.exitCode) {
        road.failure = "the program did not end after the closing message";
    }
    return road;
}

}  // namespace roads
