#include "cli/batch_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <memory>
#include <set>
#include <thread>

#include "cli/batch_table.h"
#include "cli/blank_canvas.h"
#include "cli/calculation_watch.h"
#include "cli/counts_to_enter.h"
#include "cli/json_report.h"
#include "cli/lines_as_read.h"
#include "cli/session_settings.h"
#include "cli/standard_output.h"
#include "session/session.h"
#include "ion/typed_ion.h"
#include "text/error.h"
#include "text/notifier.h"
#include "text/trim.h"

namespace orvane::cli {
namespace {

// Keeps a line's notices with its row, so that they come out in input order.
class CollectingNotifier final : public text::Notifier {
public:
    void notify(const std::string& message) override { notices.push_back(message); }
    bool confirm(const std::string& message) override {
        notify(message);
        return true;
    }
    std::vector<std::string> notices;
};

// One thread's calculator: a session loaded once, then one formula after another.
class BatchWorker {
public:
    explicit BatchWorker(const CommandLine& commandLine)
        : m_commandLine(commandLine),
          m_session(commandLine.dataDirectory, '.', m_notifier, m_canvas) {
        if (!commandLine.searchedFolders.empty()) {
            m_session.searchDataFolders(commandLine.searchedFolders);
        }
        m_session.drawOnlyOnRequest(); // a batch row has no picture
        if (commandLine.batchFormat != BatchFormat::Json) {
            m_session.leaveOutWindowWork(); // a JSON row lists the pattern's drawn span
        }
        m_session.setEngineThreads(1); // the lines share the cores already
        m_session.Initialize1Click();
        if (!m_session.state().elementFileFound || !m_session.state().isotopeTableLoaded) {
            std::string why;
            if (!m_session.state().elementFileFound) {
                why += ": " + m_session.missingElementDataMessage();
            }
            for (const std::string& notice : m_notifier.notices) {
                why += "; " + notice;
            }
            throw text::Error("the data files in " + m_session.dataDirectory() + " did not load" +
                              why);
        }
        m_notifier.notices.clear();
        applySettings(m_session, commandLine);
    }

    /// The row of one line; a line that fails has its error in the row.
    BatchRow operator()(const BatchLine& line) {
        BatchRow row;
        row.line = line;
        m_notifier.notices.clear();
        try {
            fill(row);
        } catch (const text::Error& error) {
            row.error = error.what();
        } catch (const UsageError& error) {
            row.error = error.what();
        } catch (const std::bad_alloc&) {
            row.error = "Not enough memory to calculate this line.";
        } catch (const std::exception& error) {
            row.error = error.what(); // a library's failure fails the line, not the batch
        }
        row.notices = std::move(m_notifier.notices);
        m_notifier.notices.clear();
        return row;
    }

private:
    void fill(BatchRow& row) {
        // only a line's TAB and ion: without this the row would be one of 0 atoms
        if (text::trimBlanks(row.line.formula).empty() && m_commandLine.counts.empty()) {
            throw text::Error("Formula \"" + row.line.formula + "\": the formula has no atoms.");
        }
        const FormulaEntry counts =
            countsToEnter(m_session.state().tables.elements, row.line.formula, m_commandLine.counts,
                          '.', m_session.state().reader);
        const std::optional<std::string> ionAsked = row.line.ion ? row.line.ion : m_commandLine.ion;
        for (const std::string& notice : counts.notices) {
            m_notifier.notify(notice);
        }
        // a sequence's "/z" holds here as in a single run; each line starts from the charge
        // of the command line
        const ions::TypedIon typed =
            m_session.askIon(counts.charge, ionAsked, m_commandLine.charge, defaultIon, "1");
        if (!typed.notice.empty()) {
            m_notifier.notify(typed.notice);
        }
        if (m_commandLine.maxSeconds) {
            CalculationWatch watch(m_commandLine.maxSeconds);
            if (m_session.enterRowCounts(counts.counts, watch.engineProgress(), counts.labels) ==
                session::Outcome::Cancelled) {
                throw text::Error(watch.limitMessage());
            }
        } else {
            m_session.enterRowCounts(counts.counts, {}, counts.labels);
        }
        const session::SessionState& state = m_session.state();
        row.formula = state.texts.formulaText;
        row.weightText = state.texts.weightText;
        row.averageMzText = state.texts.averageMzText;
        row.n0 = state.pattern.n0;
        row.centroid = state.pattern.centroid;
        std::optional<ions::IonResult> ion;
        try {
            // a JSON row lists every cluster; a table row only the tallest
            ion = m_commandLine.batchFormat == BatchFormat::Json ? m_session.currentIon()
                                                                 : m_session.currentIonForRow();
            row.accurate = BatchAccurate{ion->monoisotopicMass, ion->ion, ion->monoisotopicMz,
                                         ion->mostAbundantMz};
            for (const std::string& notice : ion->notices) {
                m_notifier.notify(notice);
            }
        } catch (const text::Error& error) {
            // An ion that was asked for and cannot be made fails the line; without one the
            // accurate columns stay empty (masses.txt missing, say).
            if (ionAsked) {
                throw;
            }
            row.accurateError = error.what();
        }
        if (m_commandLine.batchFormat == BatchFormat::Json) {
            const JsonOrigin origin{row.line.lineNumber, row.line.formula};
            row.json = jsonReport(state, ion ? &*ion : nullptr, nullptr, &origin,
                                  m_commandLine.clustersAll);
        }
    }

    const CommandLine& m_commandLine;
    CollectingNotifier m_notifier;
    BlankCanvas m_canvas;
    session::Session m_session;
};

// "1234/10000 lines, 2500/s, 4 s left" on a terminal, at most five times a second;
// "1234 lines, 2500/s" when the total is not known.
class ProgressLine {
public:
    explicit ProgressLine(std::optional<std::size_t> total)
        : m_total(total), m_shown(::isatty(2) == 1) {}
    ~ProgressLine() {
        if (m_shown && m_written) {
            std::fputs("\r\033[K", stderr);
        }
    }
    void update(std::size_t done) {
        if (!m_shown) {
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (done != m_total && now - m_last < std::chrono::milliseconds(200)) {
            return;
        }
        m_last = now;
        const double seconds = std::chrono::duration<double>(now - m_start).count();
        const double rate = seconds > 0 ? done / seconds : 0;
        if (m_total) {
            const double left = rate > 0 ? (*m_total - std::min(done, *m_total)) / rate : 0;
            std::fprintf(stderr, "\r\033[K%zu/%zu lines, %.0f/s, %.0f s left", done, *m_total, rate,
                         left);
        } else {
            std::fprintf(stderr, "\r\033[K%zu lines, %.0f/s", done, rate);
        }
        m_written = true;
    }

private:
    std::optional<std::size_t> m_total;
    bool m_shown;
    bool m_written = false;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_last{};
};

} // namespace

void calculateBatch(BatchLineSource next, const CommandLine& commandLine, unsigned threads,
                    std::size_t window, const std::function<void(const BatchRow&)>& deliver,
                    std::size_t chunk) {
    makeAsReadInOrder(
        std::move(next), {.threads = threads, .ahead = window, .chunk = chunk},
        [&] { return BatchWorker(commandLine); },
        [&](const BatchLine&, const BatchRow& row) { deliver(row); });
}

int runBatch(const CommandLine& commandLine) {
    const std::string& path = *commandLine.batchFile;
    const auto cannotRead = [&](const std::string& why) {
        std::cerr << "orvane-calc: cannot read the batch file "
                  << (path == "-" ? "(standard input)" : path) << ": " << why << '\n';
        return 1;
    };
    // the stream outlives a batch that fails while a worker still reads from it
    std::shared_ptr<std::istream> in;
    std::optional<std::size_t> total;
    bool regularFile = false;
    errno = 0;
    if (const std::string problem = batchInputProblem(path); !problem.empty()) {
        return cannotRead(problem);
    }
    if (path == "-") {
        in = std::shared_ptr<std::istream>(&std::cin, [](std::istream*) {});
    } else {
        struct stat status {};
        const bool statted = ::stat(path.c_str(), &status) == 0;
        auto file = std::make_shared<std::ifstream>(path, std::ios::binary);
        if (!*file) {
            return cannotRead(text::Error::fromErrno(errno).what());
        }
        regularFile = statted && S_ISREG(status.st_mode);
        if (::isatty(2) == 1 && regularFile) {
            // a file can be counted for the time left; a pipe is read only as it comes
            std::ifstream counting(path, std::ios::binary);
            BatchLineReader reader(counting);
            total = 0;
            while (reader.next()) {
                ++*total;
            }
        }
        in = std::move(file);
    }
    unsigned threads = commandLine.threads;
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    auto reader = std::make_shared<BatchLineReader>(*in);
    const BatchLineSource next = [in, reader] {
        errno = 0;
        return reader->next();
    };

    int status = 0;
    std::set<std::string> accurateErrors;
    ProgressLine progress(total);
    std::size_t done = 0;
    writeAll(1, batchHeader(commandLine.batchFormat));
    std::string pending;
    try {
        // lines of a file are there to be read, and are taken a handful at a time; a pipe's
        // lines are taken one by one, so that each row comes out as soon as it can
        const std::size_t chunk = regularFile ? batchChunk : 1;
        calculateBatch(
            next, commandLine, threads, batchWindow(threads),
            [&](const BatchRow& row) {
                for (const std::string& notice : row.notices) {
                    std::cerr << "line " << row.line.lineNumber << ": notice: " << notice << '\n';
                }
                if (!row.accurateError.empty() && accurateErrors.insert(row.accurateError).second) {
                    std::cerr << "orvane-calc: no accurate masses: " << row.accurateError << '\n';
                }
                if (row.failed()) {
                    status = 1;
                }
                pending += batchRowText(row, commandLine.batchFormat);
                // A file's rows go out in whole blocks; a pipe's each at once, as the lines are
                // taken one by one: a program that sends a line and waits gets its row.
                if (!regularFile || pending.size() > 1 << 16) {
                    writeAll(1, pending);
                    pending.clear();
                }
                progress.update(++done);
            },
            chunk);
    } catch (const text::Error& error) {
        writeAll(1, pending);
        std::cerr << "orvane-calc: cannot calculate: " << error.what() << '\n';
        return 1;
    }
    writeAll(1, pending);
    // a read error part-way would otherwise look like the end of the lines
    if (in->bad()) {
        return cannotRead(text::Error::fromErrno(errno).what());
    }
    return status;
}

} // namespace orvane::cli
