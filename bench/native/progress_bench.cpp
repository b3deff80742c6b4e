// The progress callback against the headless progress dialog: the cost of a
// report on the dialog's own thread, and as the transfer library makes it,
// from the worker thread, which records what changed and posts the dialog a
// notice without waiting for it. One 16 MiB file at 4 KiB steps is the
// transfer whose reports must stay cheap.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>

#include "platform/headless/ui_driver.h"
#include "transfer/progress_dlg.h"
#include "transfer/transfer_library.h"

namespace {

constexpr std::uint32_t kFileBytes = 16u << 20;
constexpr std::uint32_t kStepBytes = 4096;
constexpr std::uint32_t kReportsBelowFull = kFileBytes / kStepBytes;  // 0 % up to the last step before 100 %

// The percentage the library reports after the n-th step of the file.
std::int32_t PercentAfter(std::uint32_t step)
{
    return static_cast<std::int32_t>(std::uint64_t{step % kReportsBelowFull} * kStepBytes * 100 / kFileBytes);
}

std::function<void()> g_work;

std::uint32_t RunWork(const TransferJobList* /*jobs*/)
{
    g_work();
    return 0;
}

// Runs the progress dialog for one 16 MiB file with the work either on the
// dialog's thread, once it shows, or as its worker routine.
void WithProgressDialog(bool onWorker, std::function<void()> work)
{
    ResetTransferState();
    platform::headless::ResetUi();
    g_work = std::move(work);
    platform::headless::UiScript script;
    if (!onWorker) {
        script.onShown = [](platform::Dialog& dialog) {
            g_work();
            platform::PostCommand(dialog.Handle(), platform::ID_OK);  // the completion notice
        };
    }
    platform::headless::SetUiScript(std::move(script));
    CProgressDlg dialog;
    g_nTotalBytes = kFileBytes;
    g_nFileBytes = kFileBytes;
    g_strFileTitle = "VR380MX_510";
    g_bCancelAllowed = 0;
    g_pfnWorker = onWorker ? RunWork : nullptr;
    dialog.DoModal();
    ResetTransferState();
    platform::headless::ResetUi();
}

// A report that shows what the dialog already shows: 96 % of them in a
// 16 MiB transfer at 4 KiB steps.
void BM_UnchangedReport(benchmark::State& state, bool onWorker)
{
    WithProgressDialog(onWorker, [&state] {
        TransferProgress(37);
        for (auto _ : state) {
            benchmark::DoNotOptimize(TransferProgress(37));
        }
    });
}

// The reports of a 16 MiB file at 4 KiB steps, from 0 % to the step before
// 100 % (which would end the dialog's part), over and over: the time per
// report times 4097 is the whole transfer's.
void BM_ReportsOf16MiB(benchmark::State& state, bool onWorker)
{
    WithProgressDialog(onWorker, [&state] {
        std::uint32_t step = 0;
        for (auto _ : state) {
            benchmark::DoNotOptimize(TransferProgress(PercentAfter(step++)));
        }
    });
}

BENCHMARK_CAPTURE(BM_UnchangedReport, on_dialog_thread, false)->UseRealTime();
BENCHMARK_CAPTURE(BM_UnchangedReport, from_worker, true)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReportsOf16MiB, on_dialog_thread, false)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReportsOf16MiB, from_worker, true)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
