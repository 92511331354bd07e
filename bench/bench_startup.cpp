// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program's windows against a bare window.
//
// Whole start: the bench starts itself again as a child process that
// builds either a bare QWidget of the main window's size (also once with a
// single Chinese caption) or the program's windows (the main window, whose load step builds the
// hidden construction window), shows it and waits until it is exposed; the time from the spawn to
// the exposure and the child's resident memory then are compared.
//
// Windows alone: in this process, after one warm-up of the platform, the
// bare window and the program's windows are built and shown alternately,
// and the resident memory each adds is read from /proc/self/statm.

#include "bench_startup.h"

#include "widgets/dialogs/dialogseam.h"
#include "widgets/main/mainwindow.h"
#include "widgets/main/windowregistry.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4; // 4 KiB pages
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long long monotonicNanos() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

struct Sample {
    double micros = 0;
    long addedKiB = 0;
};

Sample bareWindow(QSize size) {
    const long before = residentKiB();
    const auto start = Clock::now();
    auto* window = new QWidget;
    window->resize(size);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "bare window not exposed\n");
    const auto stop = Clock::now();
    const long after = residentKiB();
    delete window;
    QCoreApplication::processEvents();
    return {std::chrono::duration<double, std::micro>(stop - start).count(), after - before};
}

Sample programWindows() {
    zorva::ui::QtDialogs dialogs;
    const long before = residentKiB();
    const auto start = Clock::now();
    auto* registry = new zorva::ui::WindowRegistry(dialogs);
    zorva::ui::MainWindow& window = registry->start();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "main window not exposed\n");
    const auto stop = Clock::now();
    const long after = residentKiB();
    delete registry;
    QCoreApplication::processEvents();
    return {std::chrono::duration<double, std::micro>(stop - start).count(), after - before};
}

// One whole start in a child process: microseconds from the spawn to the
// exposure, and the child's resident memory at that moment.
Sample childStart(const char* self, const char* mode) {
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string variable = std::string("ZORVA_BENCH_STARTUP=") + mode;
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.push_back(*e);
    env.push_back(variable.data());
    env.push_back(nullptr);
    char* args[] = {const_cast<char*>(self), nullptr};

    const long long spawned = monotonicNanos();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, args, env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buf[128];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    close(out[0]);
    if (failed != 0)
        return {};
    int status = 0;
    waitpid(pid, &status, 0);

    long long exposed = 0;
    long resident = 0;
    if (std::sscanf(text.c_str(), "%lld %ld", &exposed, &resident) != 2)
        return {};
    return {double(exposed - spawned) / 1000.0, resident};
}

} // namespace

int startupChild(int argc, char** argv, const char* mode) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zorva::ui::QtDialogs dialogs;
    zorva::ui::WindowRegistry registry(dialogs);
    QWidget bare;
    QWidget* shown = nullptr;
    if (std::string(mode) == "bare" || std::string(mode) == "caption") {
        bare.resize(QSize(594, 408 + 21));
        // "caption": the bare window with one Chinese caption, which makes
        // the font system start as any window with text does.
        if (std::string(mode) == "caption")
            new QLabel(QStringLiteral("计算"), &bare);
        bare.show();
        shown = &bare;
    } else {
        shown = &registry.start();
    }
    if (!QTest::qWaitForWindowExposed(shown))
        return 1;
    std::printf("%lld %ld\n", monotonicNanos(), residentKiB());
    return 0;
}

int runStartupBench(int argc, char** argv) {
    // Whole starts, alternately, in child processes.
    {
        constexpr int rounds = 15;
        std::vector<double> bare, caption, program, bareKiB, captionKiB, programKiB;
        for (int i = 0; i < rounds; ++i) {
            const Sample b = childStart("/proc/self/exe", "bare");
            const Sample c = childStart("/proc/self/exe", "caption");
            const Sample w = childStart("/proc/self/exe", "windows");
            bare.push_back(b.micros);
            caption.push_back(c.micros);
            program.push_back(w.micros);
            bareKiB.push_back(double(b.addedKiB));
            captionKiB.push_back(double(c.addedKiB));
            programKiB.push_back(double(w.addedKiB));
        }
        const double b = median(bare), c = median(caption), w = median(program);
        const double bm = median(bareKiB), cm = median(captionKiB), wm = median(programKiB);
        std::printf("start bare %.0f us, windows %.0f us, ratio %.2f\n", b, w, w / b);
        std::printf("start memory bare %.0f KiB, windows %.0f KiB, ratio %.2f\n", bm, wm,
                    bm > 0 ? wm / bm : 0.0);
        std::printf("start caption %.0f us (%.0f KiB); windows against it: time %.2f, "
                    "memory %.2f\n",
                    c, cm, w / c, cm > 0 ? wm / cm : 0.0);
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The size the main window takes, for the bare window.
    QSize size;
    {
        zorva::ui::QtDialogs dialogs;
        zorva::ui::WindowRegistry probe(dialogs);
        size = probe.main().size();
    }

    // First of each in this process: the bare window pays the platform's
    // own start, the program's windows their fonts and styles.
    const Sample coldBare = bareWindow(size);
    const Sample coldProgram = programWindows();

    constexpr int rounds = 25;
    std::vector<double> bare, program;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(bareWindow(size).micros);
        program.push_back(programWindows().micros);
    }
    const double bareMedian = median(bare);
    const double programMedian = median(program);

    std::printf("windows-first bare %.0f us, windows %.0f us\n", coldBare.micros,
                coldProgram.micros);
    std::printf("windows bare %.0f us/run, windows %.0f us/run, ratio %.2f\n", bareMedian,
                programMedian, programMedian / bareMedian);
    std::printf("windows memory bare +%ld KiB, windows +%ld KiB, ratio %.2f\n", coldBare.addedKiB,
                coldProgram.addedKiB,
                coldBare.addedKiB > 0 ? double(coldProgram.addedKiB) / coldBare.addedKiB : 0.0);
    return 0;
}
