#pragma once

// What the benchmarks share besides their figures: their command-line options, CPU and memory
// readings, and (in the benchmarks of windows, built with SRK_BENCH_UI) the offscreen application and
// the program started on a catalogue folder.

#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>

#include <time.h>

#ifdef SRK_BENCH_UI
#include "access/ScriptedMessages.h"
#include "query/QueryFunctions.h"
#include "store/Store.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/Program.h"

#include <QApplication>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#endif

namespace srk::bench {

// Seconds of CPU a clock (CLOCK_PROCESS_CPUTIME_ID, CLOCK_THREAD_CPUTIME_ID) has counted.
inline double cpuSeconds(clockid_t which) {
    timespec t{};
    clock_gettime(which, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The resident memory of this process in kB; -1 when it cannot be read.
inline long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// The value following `name` ("--folder") on the command line; `fallback` when it is not given.
inline QString optionValue(const QStringList& args, const char* name, const QString& fallback = QString()) {
    const qsizetype at = args.indexOf(QString::fromLatin1(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

// "--folder DIR [--runs N]" of the benchmarks on a catalogue.
struct CatalogueOptions {
    QString folder;
    int runs = 1;
};

// False, with the usage printed, when no folder is given.
inline bool readCatalogueOptions(const QStringList& args, const char* benchName, int defaultRuns,
                                 CatalogueOptions& out) {
    out.folder = optionValue(args, "--folder");
    out.runs = defaultRuns;
    if (const QString runs = optionValue(args, "--runs"); !runs.isEmpty())
        out.runs = std::max(1, runs.toInt());
    if (out.folder.isEmpty()) {
        std::fprintf(stderr, "usage: %s --folder DIR [--runs N]\n", benchName);
        return false;
    }
    return true;
}

#ifdef SRK_BENCH_UI

// The application of a benchmark of windows: offscreen unless a platform is asked for, and the
// filter functions of the queries on every connection the store opens.
class WindowBenchApp : public QApplication {
public:
    WindowBenchApp(int& argc, char** argv) : QApplication(offscreenByDefault(argc), argv) {
        Store::addConnectionHook(&registerQueryFunctions);
    }

private:
    static int& offscreenByDefault(int& argc) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }
};

// The program on a catalogue folder, its settings in a folder of its own (temporary unless given),
// its questions answered from a script, without splash or signal handling.
class BenchProgram {
public:
    explicit BenchProgram(const QString& folder, std::initializer_list<int> answers = {},
                          const QString& configFolder = QString())
        : m_config(configFolder.isEmpty() ? std::make_unique<QTemporaryDir>() : nullptr), m_messages(answers),
          m_program(std::make_unique<Program>(Program::Options{
              folder, m_config ? m_config->path() : configFolder, &m_messages, false, false})) {}

    // Starts it; false, with the reason printed, when it stops.
    bool start() {
        if (m_program->start())
            return true;
        std::fprintf(stderr, "start failed: %s\n", qPrintable(m_program->stopText()));
        return false;
    }
    // Starts it with the frame at the size the window benchmarks measure in.
    bool startSized() {
        if (!start())
            return false;
        m_program->frame()->resize(1280, 900);
        QApplication::processEvents();
        return true;
    }

    Program& program() { return *m_program; }
    MainFrame& frame() { return *m_program->frame(); }
    ProgramContext& context() { return m_program->context(); }
    ScriptedMessages& messages() { return m_messages; }

private:
    std::unique_ptr<QTemporaryDir> m_config;
    ScriptedMessages m_messages;
    std::unique_ptr<Program> m_program;
};

#endif

} // namespace srk::bench
