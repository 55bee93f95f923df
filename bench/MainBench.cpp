// The main window: from process start to the shown window with a
// 10,000-draw working document, against a bare Qt window started the same
// way; and "筛选(&G)" with 100 checked conditions and every listing on, from
// the command to the painted report; and opening a document of 100,000
// projects in the window, against reading it with the core alone.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "gui/mainwin/Application.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/OutputArea.h"
#include "gui/mainwin/UserDialogs.h"

extern char** environ;

namespace tovarin {
namespace {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

const char* const kParams[] = {"1,3,5,7,9", "2,4", "0,9", "3,7", "5", "1,2,3,4,5"};

void AddConditions(TSeqPrj& project, int count) {
    for (int i = 0; i < count; ++i) {
        const int kind = i % 9 + 1;
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(kind == 9   ? "12与34相配,5与67相配"
                      : kind >= 7 ? "5,6,7,8,9,10"
                                  : kParams[i % 6]);
        bind.Checked = true;
        bind.Assured = i % 10 == 0;
    }
}

// A program folder holding a working document of 10,000 draws.
const std::string& BigDocumentFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/tovarin-mainbench-XXXXXX";
        const std::string dir = mkdtemp(pattern);
        TCodeNet net;
        for (int row = 0; row < 10000; ++row) {
            net.Add();
            for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                net.SetNum(row, pos, (row * 7 + pos * 3 + row / 10) % 10);
            }
        }
        TPrjMgr projects(net);
        for (int i = 0; i < 2; ++i) {
            AddConditions(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 20);
        }
        SaveDocument(dir + "/工作文档.lvrn", net, projects);
        return dir;
    }();
    return folder;
}

// Answers nothing: a benchmark has nobody to ask.
class TSilentDialogs final : public TUserDialogs {
public:
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    TAnswer AskYesNoCancel(QWidget*, const QString&, const QString&) override {
        return TAnswer::No;
    }
    void ShowMessage(QWidget*, const QString&) override {}
    void ShowError(QWidget*, const QString&) override {}
    QString OpenFileName(QWidget*, const TFileDialogSpec&) override { return {}; }
    QString SaveFileName(QWidget*, const TFileDialogSpec&) override { return {}; }
    QString AskText(QWidget*, const QString&, const QString&) override { return {}; }
    bool AskChoice(QWidget*, const QString&, const QString&, const QString&,
                   const QString&) override {
        return false;
    }
    bool OpenWithShell(const QString&) override { return false; }
};

TMainForm::TSetup BenchSetup(const std::string& folder) {
    TMainForm::TSetup setup;
    setup.AppDir = QString::fromStdString(folder);
    setup.Dialogs = std::make_shared<TSilentDialogs>();
    setup.Maximise = false;
    setup.DataDir = setup.AppDir;
    return setup;
}

// A child process started by the start-up benchmark: shows its window,
// prints the moment the window has been painted, and ends.
int RunChild(const std::string& mode) {
    int argc = 1;
    char name[] = "main_bench";
    char* argv[] = {name, nullptr};
    TApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (mode == "main") {
        TApplication::LoadChineseTranslations(app);
        TApplication::ProvideSongFont();
        window = std::make_unique<TMainForm>(BenchSetup(std::getenv("TOVARIN_BENCH_FOLDER")));
    } else if (mode == "text") {
        // A bare window that shows one Chinese line in the program's font:
        // what any window with text pays for the font database.
        TApplication::ProvideSongFont();
        auto label = std::make_unique<QLabel>(QStringLiteral("筛选结果为总共100个号码"));
        label->setFont(QFont(QStringLiteral("SimSun"), 11));
        label->resize(763, 538);
        window = std::move(label);
    } else {
        window = std::make_unique<QWidget>();
        window->resize(763, 538);
    }
    window->show();
    QTimer::singleShot(0, [] {
        std::printf("%lld\n", MonotonicNs());
        std::fflush(stdout);
        _exit(0);
    });
    return app.exec();
}

// Runs before the benchmark library's main when this program was started
// as a child.
const int kChildMode = [] {
    if (const char* mode = std::getenv("TOVARIN_BENCH_CHILD")) {
        _exit(RunChild(mode));
    }
    return 0;
}();

// Seconds from spawning a child in the mode to its painted window.
double TimeToShownWindow(const char* mode) {
    const std::string self = [] {
        char path[4096];
        const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        return std::string(path, n > 0 ? size_t(n) : 0);
    }();
    setenv("TOVARIN_BENCH_CHILD", mode, 1);
    setenv("TOVARIN_BENCH_FOLDER", BigDocumentFolder().c_str(), 1);
    if (std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char* argv[] = {const_cast<char*>(self.c_str()), nullptr};
    pid_t child = 0;
    const long long start = MonotonicNs();
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    unsetenv("TOVARIN_BENCH_CHILD");
    close(pipeEnds[1]);
    char text[64] = {};
    const ssize_t n = spawned == 0 ? read(pipeEnds[0], text, sizeof text - 1) : -1;
    close(pipeEnds[0]);
    int status = 0;
    if (spawned == 0) {
        waitpid(child, &status, 0);
    }
    if (n <= 0) {
        return -1;
    }
    return double(std::atoll(text) - start) / 1e9;
}

void StartUp(benchmark::State& state, const char* mode) {
    for (auto _ : state) {
        const double seconds = TimeToShownWindow(mode);
        if (seconds < 0) {
            state.SkipWithError("the child did not show its window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartUpBareWindow(benchmark::State& state) { StartUp(state, "bare"); }
void BM_StartUpBareWindowWithText(benchmark::State& state) { StartUp(state, "text"); }
void BM_StartUpMainWindow10000Draws(benchmark::State& state) { StartUp(state, "main"); }
BENCHMARK(BM_StartUpBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartUpBareWindowWithText)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_StartUpMainWindow10000Draws)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_FilterAllPainted100Conditions(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static int argc = 1;
    static char name[] = "main_bench";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the process ends with the benchmarks, and a static
    // application would outlive the objects Qt frees before it.
    static auto* app = new TApplication(argc, argv);
    (void)app;
    TMainForm form(BenchSetup(BigDocumentFolder()));
    form.show();
    QApplication::processEvents();
    TSeqPrj& project = *form.SelectedPrj(false);
    project.ClearBinds();
    // Tolerance conditions that each fail one head or tail digit, with the
    // widest tolerance: most codes survive most steps, so every step lists
    // its codes and the report is long.
    for (int i = 0; i < 100; ++i) {
        TBaseBind& bind = project.AddBind(CreateBind(i % 2 == 0 ? 2 : 4, project.Options()));
        bind.SetParam(std::to_string(i % 10));
        bind.Checked = true;
    }
    TPrjOptions wide = project.Options();
    wide.MissMax = 10;
    project.SetOptions(wide);
    TAppOptions& options = form.AppOptions();
    options.DetailEveryChk = options.DetailLastChk = options.SplitByLineChk = true;
    options.OutPutPrjOptChk = options.OutPutAppOptChk = true;
    options.AutoVerifyChk = false;
    QAction* calcAll = form.Actions().ProjectMenuCalcAll;
    for (auto _ : state) {
        calcAll->trigger();
        form.Output().viewport()->repaint();
    }
    state.counters["lines"] = double(form.Output().blockCount());
    form.PrjMgr().ClearModified();
}
BENCHMARK(BM_FilterAllPainted100Conditions)->Unit(benchmark::kMillisecond);

// A folder holding a document of the given number of projects, two
// conditions each, on a table of 100 draws.
std::string ManyProjectsFolder(int count) {
    char pattern[] = "/tmp/tovarin-manyprj-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    TCodeNet net;
    for (int row = 0; row < 100; ++row) {
        net.Add();
    }
    TPrjMgr projects(net);
    for (int i = 0; i < count; ++i) {
        AddConditions(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 2);
    }
    SaveDocument(dir + "/many.lvrn", net, projects);
    return dir;
}

// Each iteration reads the document with the core alone, then opens it in
// the window until the list is painted; the time is the window's, and
// "ratio" is the window's time over the core's.
void BM_OpenManyProjects(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static int argc = 1;
    static char name[] = "main_bench";
    static char* argv[] = {name, nullptr};
    static auto* app = new TApplication(argc, argv);
    (void)app;
    const std::string folder = ManyProjectsFolder(static_cast<int>(state.range(0)));
    const std::string path = folder + "/many.lvrn";
    TMainForm form(BenchSetup(folder));
    form.show();
    QApplication::processEvents();
    long long coreNs = 0;
    long long windowNs = 0;
    for (auto _ : state) {
        {
            const long long start = MonotonicNs();
            TCodeNet net;
            TPrjMgr projects(net);
            LoadDocument(path, net, projects);
            benchmark::DoNotOptimize(projects.PrjCount());
            coreNs += MonotonicNs() - start;
        }
        form.ClearWorkspace();
        QApplication::processEvents();
        const long long start = MonotonicNs();
        form.LoadDocument(QStringLiteral("many.lvrn"));
        form.repaint();
        QApplication::processEvents();
        const long long elapsed = MonotonicNs() - start;
        windowNs += elapsed;
        state.SetIterationTime(static_cast<double>(elapsed) / 1e9);
    }
    state.counters["ratio"] = static_cast<double>(windowNs) / static_cast<double>(coreNs);
    state.counters["projects"] = static_cast<double>(form.PrjMgr().PrjCount());
}
BENCHMARK(BM_OpenManyProjects)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace tovarin
