// vr38bench: measures VR38Update.exe from outside, as scripts/bench needs it.
//
//   vr38bench startup PROGRAM MAIN_TITLE [FIRST_TITLE]
//       Starts PROGRAM in its own folder and times it until the window titled
//       MAIN_TITLE shows and answers; a window titled FIRST_TITLE (the
//       warning) is passed with OK on the way, as soon as it shows. Then
//       closes the program.
//   vr38bench update PROGRAM
//       Drives one whole update of the preselected printer. From the
//       confirmation to the closing message, the main, progress and operating
//       dialogs are each sent WM_NULL every 20 ms and their answers timed
//       (ui_worst_ms: the worst from the start of the transfer on); at the
//       closing message the program's peak working set is read.
//   vr38bench silent PROGRAM
//       Drives one whole update with a printer that does not answer the
//       version request: the main dialog is sent WM_NULL every 20 ms from
//       Update to the confirmation (which must say the version is unknown),
//       and the time from Update to the confirmation is taken.
//
// Figures go to the standard output as "key=value" lines; times in
// milliseconds, memory in KiB. Exit code 0 when the program got where it
// should, 1 otherwise, 2 for a bad command line.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "res/resource.h"
#include "roads/update_road.h"
#include "uidriver/ui_driver.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kPingInterval = 20ms;
constexpr UINT kPingTimeoutMs = 10000;
// Start-up is watched more closely than the UI driver's own waits do.
constexpr auto kStartupPoll = 1ms;
constexpr auto kStartupWait = 60s;
// The confirmation's first sentence when the printer did not tell its version.
constexpr const char* kVersionUnknown = "The printer version is unknown.";

double Milliseconds(Clock::duration span)
{
    return std::chrono::duration<double, std::milli>(span).count();
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// How long the window's thread took to answer a message, and whether it
// answered at all: a window destroyed before its thread came to the message,
// or one hung past the time-out, did not.
struct Answer {
    Clock::duration time;
    bool answered;
};

Answer Ping(HWND window)
{
    DWORD_PTR ignored = 0;
    const auto sent = Clock::now();
    const bool answered = ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kPingTimeoutMs, &ignored) != 0;
    return {Clock::now() - sent, answered};
}

HWND FindDialog(DWORD processId, const std::function<bool(const uidriver::Window&)>& test)
{
    for (const auto& window : uidriver::TopLevelWindows(processId)) {
        if (test(window)) {
            return window.handle;
        }
    }
    return nullptr;
}

HWND Titled(DWORD processId, const std::string& title)
{
    return FindDialog(processId, [&title](const uidriver::Window& window) { return window.title == title; });
}

// The program started in its own folder, as a user starts it; says why not.
std::optional<uidriver::Process> StartInItsFolder(const std::string& program)
{
    auto process = uidriver::Process::Start(program, FolderOf(program));
    if (!process) {
        std::fprintf(stderr, "vr38bench: cannot start %s\n", program.c_str());
    }
    return process;
}

// Whether the road broke off; says where.
bool Failed(const roads::UpdateRoad& road)
{
    if (!road.failure.empty()) {
        std::fprintf(stderr, "vr38bench: %s\n", road.failure.c_str());
    }
    return !road.failure.empty();
}

int Startup(const std::string& program, const std::string& mainTitle, const std::string& firstTitle)
{
    const auto started = Clock::now();
    auto process = StartInItsFolder(program);
    if (!process) {
        return 1;
    }
    bool firstPassed = firstTitle.empty();
    HWND main = nullptr;
    std::optional<Clock::duration> idle;
    while (!idle && Clock::now() - started < kStartupWait && !process->HasExited()) {
        if (!firstPassed) {
            if (const HWND first = Titled(process->Id(), firstTitle)) {
                std::printf("first_ms=%.1f\n", Milliseconds(Clock::now() - started));
                uidriver::Click(first, IDOK);
                firstPassed = true;
            }
        } else if ((main = Titled(process->Id(), mainTitle)) != nullptr && Ping(main).answered) {
            idle = Clock::now() - started;
            break;
        }
        std::this_thread::sleep_for(kStartupPoll);
    }
    if (!idle) {
        std::fprintf(stderr, "vr38bench: \"%s\" did not show\n", mainTitle.c_str());
        process->Kill();
        return 1;
    }
    std::printf("startup_ms=%.1f\n", Milliseconds(*idle));
    ::PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    if (!process->WaitForExit(10s)) {
        process->Kill();
    }
    return 0;
}

// One kind of window sent WM_NULL every 20 ms on a thread of its own, its
// answers kept by the phase of the update.
class Pinger {
public:
    Pinger(DWORD processId, std::string name, std::function<HWND()> find)
        : m_processId(processId), m_name(std::move(name)), m_find(std::move(find)), m_thread([this] { Run(); })
    {
    }
    ~Pinger() { Stop(); }
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;

    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    void Print() const
    {
        for (auto [phase, samples] : m_samples) {
            std::sort(samples.begin(), samples.end());
            const auto key = "ping_" + m_name + "_" + phase;
            std::printf("%s_n=%lu %s_median_ms=%.1f %s_worst_ms=%.1f\n", key.c_str(),
                        static_cast<unsigned long>(samples.size()), key.c_str(), samples[samples.size() / 2],
                        key.c_str(), samples.back());
        }
        if (m_unanswered > 0) {
            std::printf("ping_%s_unanswered=%d\n", m_name.c_str(), m_unanswered);
        }
    }

    // The worst answer once the transfer has started.
    double WorstFromTransfer() const
    {
        double worst = 0;
        for (const auto& [phase, samples] : m_samples) {
            if (phase != "checks") {
                worst = std::max(worst, *std::max_element(samples.begin(), samples.end()));
            }
        }
        return worst;
    }

private:
    // The phases of an update, in their order: the checks before the
    // progress dialog, the transfer while it shows, and the wait from when
    // the operating dialog takes its place to the closing message.
    enum Phase { Checks, Transfer, Wait };
    static constexpr const char* kPhaseNames[] = {"checks", "transfer", "wait"};

    // Phases only go forward: once the progress dialog has gone, neither
    // window showing means the wait is ending.
    Phase Observe()
    {
        Phase seen = Checks;
        if (uidriver::DialogWithItem(m_processId, IDC_OPERATING_TEXT) != nullptr) {
            seen = Wait;
        } else if (uidriver::DialogWithItem(m_processId, IDC_TRANSFER_PERCENT) != nullptr) {
            seen = Transfer;
        } else if (m_phase != Checks) {
            seen = Wait;
        }
        m_phase = std::max(m_phase, seen);
        return m_phase;
    }

    void Run()
    {
        auto next = Clock::now();
        while (!m_stop) {
            if (const HWND window = m_find()) {
                // A ping is counted in the phase it was sent in: the work
                // that holds it up was under way then (the checks before the
                // progress dialog shows, or the operating wait). Unanswered,
                // the time still counts: the window did not answer for that
                // long, whatever ended the wait.
                const auto phase = Observe();
                const auto answer = Ping(window);
                Observe();
                m_samples[kPhaseNames[phase]].push_back(Milliseconds(answer.time));
                m_unanswered += answer.answered ? 0 : 1;
            }
            next = std::max(next + kPingInterval, Clock::now());
            std::this_thread::sleep_until(next);
        }
    }

    DWORD m_processId;
    std::string m_name;
    std::function<HWND()> m_find;
    Phase m_phase = Checks;
    std::atomic<bool> m_stop = false;
    std::map<std::string, std::vector<double>> m_samples;
    int m_unanswered = 0;
    std::thread m_thread;  // last: starts once the rest is in place
};

int Update(const std::string& program)
{
    auto process = StartInItsFolder(program);
    if (!process) {
        return 1;
    }
    const DWORD id = process->Id();
    std::vector<std::unique_ptr<Pinger>> pingers;
    const auto atStep = [&](roads::Step step, HWND) {
        if (step == roads::Step::Confirmation) {
            pingers.push_back(std::make_unique<Pinger>(id, "main", [id] { return Titled(id, roads::kMainTitle); }));
            pingers.push_back(std::make_unique<Pinger>(
                id, "progress", [id] { return uidriver::DialogWithItem(id, IDC_TRANSFER_PERCENT); }));
            pingers.push_back(std::make_unique<Pinger>(
                id, "operating", [id] { return uidriver::DialogWithItem(id, IDC_OPERATING_TEXT); }));
        } else if (step == roads::Step::Completed) {
            for (auto& pinger : pingers) {
                pinger->Stop();
            }
            PROCESS_MEMORY_COUNTERS memory{};
            memory.cb = sizeof(memory);
            if (::GetProcessMemoryInfo(process->Handle(), &memory, sizeof(memory))) {
                std::printf("peak_working_set_kib=%lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
            }
        }
    };
    const auto road = roads::DriveWholeUpdate(*process, {}, atStep);
    double worst = 0;
    for (const auto& pinger : pingers) {
        pinger->Print();
        worst = std::max(worst, pinger->WorstFromTransfer());
    }
    std::printf("ui_worst_ms=%.1f\n", worst);
    if (Failed(road)) {
        return 1;
    }
    return road.outcome == roads::kCompleted ? 0 : 1;
}

int SilentUpdate(const std::string& program)
{
    auto process = StartInItsFolder(program);
    if (!process) {
        return 1;
    }
    const DWORD id = process->Id();
    std::unique_ptr<Pinger> pinger;
    Clock::time_point update;
    const auto atStep = [&](roads::Step step, HWND) {
        if (step == roads::Step::Printers) {
            pinger = std::make_unique<Pinger>(id, "main", [id] { return Titled(id, roads::kMainTitle); });
            update = Clock::now();  // the road clicks Update when this returns
        } else if (step == roads::Step::Confirmation && pinger) {
            std::printf("update_to_confirmation_ms=%.1f\n", Milliseconds(Clock::now() - update));
            pinger->Stop();
        }
    };
    const auto road = roads::DriveWholeUpdate(*process, {}, atStep);
    if (pinger) {
        pinger->Print();
    }
    if (Failed(road)) {
        return 1;
    }
    if (road.confirmation.find(kVersionUnknown) == std::string::npos) {
        std::fprintf(stderr, "vr38bench: the confirmation has a version: %s\n", road.confirmation.c_str());
        return 1;
    }
    return road.outcome == roads::kCompleted ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    int status = 2;
    if (command == "startup" && (argc == 4 || argc == 5)) {
        status = Startup(argv[2], argv[3], argc == 5 ? argv[4] : "");
    } else if (command == "update" && argc == 3) {
        status = Update(argv[2]);
    } else if (command == "silent" && argc == 3) {
        status = SilentUpdate(argv[2]);
    } else {
        std::fprintf(stderr,
                     "usage: vr38bench startup PROGRAM MAIN_TITLE [FIRST_TITLE]\n"
                     "       vr38bench update PROGRAM\n"
                     "       vr38bench silent PROGRAM\n");
    }
    std::fflush(stdout);
    return status;
}
