// The engine's benchmark: builds an address file of N generated records and prints, for each
// figure, the time (by the wall clock and as CPU time of the process, user and system, which a
// busy machine disturbs less) and the peak memory. Each figure runs in a child process of its
// own, started from a fresh state (files closed, nothing cached in the process), so its peak
// memory is its own; the files stay in the page cache between figures.
//
// Usage: quillmark-xbase-bench [--n N]... [--dir DIR] [--keep] [--only I]... [--help]
//   --n N     number of records (repeatable); default 100000 and 1000000
//   --dir DIR where to put the files (default: a new folder under the system's temporary folder)
//   --keep    leave the files behind
//   --only I  run only figure I (1-based, repeatable), on files left by an earlier --keep run

#include "bench_args.h"
#include "xbase_address_generator.h"

#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using qm::bench::TAddressGenerator;
using qm::bench::TAddressRecord;
using qm::xbase::TCursor;
using qm::xbase::TTable;
using Clock = std::chrono::steady_clock;

constexpr const char* kTableName = "ADDRESS.DBF";

// A moment by the wall clock and by the process's CPU clock (user and system time), so that
// figures taken on a busy machine can be told apart from the engine's own cost.
struct TStamp {
    Clock::time_point wall;
    double cpu = 0;
};

double CpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

TStamp Now()
{
    return {Clock::now(), CpuNow()};
}

struct TSpan {
    double wall = 0;
    double cpu = 0;
    TSpan& operator+=(const TSpan& other)
    {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

TSpan Since(const TStamp& start)
{
    return {std::chrono::duration<double>(Clock::now() - start.wall).count(), CpuNow() - start.cpu};
}

// What a figure reports back to the parent: wall and CPU seconds, and a note ("950,123 records").
struct TResult {
    double seconds = 0;
    double cpuSeconds = 0;
    char note[112] = {};

    void Set(const TSpan& span)
    {
        seconds = span.wall;
        cpuSeconds = span.cpu;
    }
    void Add(const TSpan& span)
    {
        seconds += span.wall;
        cpuSeconds += span.cpu;
    }
};

std::string Grouped(uint64_t n)
{
    const std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

void Note(TResult& result, const std::string& text)
{
    std::snprintf(result.note, sizeof result.note, "%s", text.c_str());
}

// Copies the table's files (any letter case of DBF, FPT, CDX) from one folder to another.
void CopyFiles(const fs::path& from, const fs::path& to)
{
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), to / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
}

void StoreRecord(TTable& table, const TAddressRecord& record)
{
    table.AppendBlank();
    for (int i = 0; i < qm::bench::kAddressFieldCount; ++i) {
        const std::string& value = record.values[static_cast<size_t>(i)];
        if (i == qm::bench::kIsdelField)
            table.PutLogical(i, value == "T");
        else if (i == qm::bench::kMemoField) {
            if (!value.empty())
                table.PutMemo(i, value);
        } else if (!value.empty())
            table.PutString(i, value);
    }
    if (record.deleted)
        table.SetDeleted(true);
    table.Post();
}

// Appends count generated records; only the engine's work is timed, not the generation.
TSpan AppendRecords(TTable& table, TAddressGenerator& generator, uint64_t count)
{
    constexpr size_t kBatch = 4096;
    std::vector<TAddressRecord> batch(kBatch);
    TSpan seconds;
    for (uint64_t done = 0; done < count;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(kBatch, count - done));
        for (size_t i = 0; i < n; ++i)
            generator.Next(batch[i]);
        const TStamp start = Now();
        for (size_t i = 0; i < n; ++i)
            StoreRecord(table, batch[i]);
        seconds += Since(start);
        done += n;
    }
    return seconds;
}

std::unique_ptr<TTable> OpenTable(const fs::path& dir)
{
    return TTable::Open((dir / kTableName).string());
}

// --- the figures ---

TResult Append(const fs::path& dir, uint64_t n)
{
    TResult result;
    auto table = TTable::Create((dir / kTableName).string(), TAddressGenerator::Fields());
    TAddressGenerator generator;
    result.Set(AppendRecords(*table, generator, n));
    const TStamp start = Now();
    table->Close();
    result.Add(Since(start));
    Note(result, Grouped(table ? n : 0) + " records, " +
                     Grouped(fs::file_size(dir / kTableName) >> 20) + " MB table");
    return result;
}

TResult BuildTags(const fs::path& dir, uint64_t)
{
    TResult result;
    auto table = OpenTable(dir);
    std::vector<TTable::TTagSpec> tags;
    for (const auto& [name, expression] : TAddressGenerator::Tags())
        tags.push_back({name, expression});
    const TStamp start = Now();
    table->AddTags(tags);
    table->Close();
    result.Set(Since(start));
    Note(result, std::to_string(TAddressGenerator::Tags().size()) + " tags");
    return result;
}

TResult OpenWithIndex(const fs::path& dir, uint64_t)
{
    TResult result;
    std::vector<TSpan> times;
    int tags = 0;
    for (int i = 0; i < 21; ++i) {
        const TStamp start = Now();
        auto table = OpenTable(dir);
        times.push_back(Since(start));
        tags = table->TagCount();
        table->Close();
    }
    std::sort(times.begin(), times.end(),
              [](const TSpan& a, const TSpan& b) { return a.wall < b.wall; });
    result.Set(times[times.size() / 2]);
    Note(result, "median of 21 opens, " + std::to_string(tags) + " tags");
    return result;
}

TResult CountQuery(const fs::path& dir, const char* query)
{
    TResult result;
    auto table = OpenTable(dir);
    TCursor cursor(*table);
    const TStamp start = Now();
    cursor.SetQuery(query);
    const uint32_t count = cursor.Count();
    result.Set(Since(start));
    Note(result, Grouped(count) + " records match");
    return result;
}

TResult PrefixSeeks(const fs::path& dir, uint64_t)
{
    TResult result;
    auto table = OpenTable(dir);
    TCursor cursor(*table);
    cursor.SelectTag("LNAME");
    TAddressGenerator generator(12345);
    std::vector<std::string> keys;
    for (int i = 0; i < 10000; ++i)
        keys.push_back(generator.NamePrefix());
    int found = 0;
    const TStamp start = Now();
    for (const std::string& key : keys)
        found += cursor.Seek(key);
    result.Set(Since(start));
    Note(result, Grouped(static_cast<uint64_t>(found)) + " of 10,000 found");
    return result;
}

TResult WalkTagOrder(const fs::path& dir, uint64_t)
{
    TResult result;
    auto table = OpenTable(dir);
    TCursor cursor(*table);
    cursor.SelectTag("LNAME");
    uint64_t records = 0;
    const TStamp start = Now();
    for (cursor.GoTop(); !cursor.Eof(); cursor.Skip())
        ++records;
    result.Set(Since(start));
    Note(result, Grouped(records) + " records shown (marked records hidden)");
    return result;
}

TResult WalkRecordOrder(const fs::path& dir, uint64_t)
{
    TResult result;
    auto table = OpenTable(dir);
    TCursor cursor(*table);
    const int fields = static_cast<int>(table->Fields().size());
    uint64_t records = 0;
    uint64_t bytes = 0;
    const TStamp start = Now();
    cursor.SetTurboRead(true);
    for (cursor.GoTop(); !cursor.Eof(); cursor.Skip()) {
        for (int i = 0; i < fields; ++i) {
            if (i == qm::bench::kMemoField)
                bytes += table->GetMemo(i).size();
            else
                bytes += table->GetTrimmed(i).size();
        }
        ++records;
    }
    cursor.SetTurboRead(false);
    result.Set(Since(start));
    Note(result, Grouped(records) + " records, " + Grouped(bytes >> 20) + " MB of values");
    return result;
}

TResult Pack(const fs::path& dir, uint64_t)
{
    TResult result;
    const fs::path work = dir / "pack";
    CopyFiles(dir, work);
    auto table = OpenTable(work);
    const uint32_t before = table->RecordCount();
    const TStamp start = Now();
    table->Pack();
    table->Close();
    result.Set(Since(start));
    auto reopened = OpenTable(work);
    Note(result, Grouped(before - reopened->RecordCount()) + " records removed");
    reopened->Close();
    fs::remove_all(work);
    return result;
}

TResult AppendIndexed(const fs::path& dir, uint64_t)
{
    TResult result;
    const fs::path work = dir / "append";
    CopyFiles(dir, work);
    auto table = OpenTable(work);
    TAddressGenerator generator(777);
    result.Set(AppendRecords(*table, generator, 10000));
    const TStamp start = Now();
    table->Close();
    result.Add(Since(start));
    Note(result,
         "10,000 records, " + std::to_string(TAddressGenerator::Tags().size()) + " tags kept");
    fs::remove_all(work);
    return result;
}

struct TFigure {
    std::string name;
    double target; // seconds at N = 1,000,000
    std::function<TResult(const fs::path&, uint64_t)> run;
};

// Runs one figure in a child process; returns false when it failed.
bool RunFigure(const TFigure& figure, const fs::path& dir, uint64_t n)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        return false;
    }
    std::cout.flush();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return false;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        int code = 0;
        TResult result;
        try {
            result = figure.run(dir, n);
        } catch (const std::exception& e) {
            Note(result, std::string("FAILED: ") + e.what());
            result.seconds = -1;
            code = 1;
        }
        const ssize_t written = write(pipeEnds[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? code : 1);
    }
    close(pipeEnds[1]);
    TResult result;
    const ssize_t got = read(pipeEnds[0], &result, sizeof result);
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const bool ok =
        got == static_cast<ssize_t>(sizeof result) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (got != static_cast<ssize_t>(sizeof result))
        Note(result, "FAILED: the figure's process ended abnormally");
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    char line[400];
    if (ok) {
        const bool scaled = n == 1000000;
        auto format = [](char* out, size_t size, double seconds) {
            if (seconds < 1)
                std::snprintf(out, size, "%8.2f ms", seconds * 1000);
            else
                std::snprintf(out, size, "%8.3f s ", seconds);
        };
        char time[32];
        char cpu[32];
        format(time, sizeof time, result.seconds);
        format(cpu, sizeof cpu, result.cpuSeconds);
        std::snprintf(
            line, sizeof line, "  %-66s %s %s %8.1f MB  %s%s%s\n", figure.name.c_str(), time, cpu,
            peakMb, result.note,
            scaled ? (result.seconds <= figure.target ? "  [target met]" : "  [target missed]")
                   : "",
            scaled && peakMb > 256 ? " [memory over 256 MB]" : "");
    } else {
        std::snprintf(line, sizeof line, "  %-66s %s\n", figure.name.c_str(), result.note);
    }
    std::cout << line << std::flush;
    return ok;
}

int RunSize(const fs::path& base, uint64_t n, const std::vector<size_t>& only)
{
    const fs::path dir = base / ("n" + std::to_string(n));
    if (only.empty())
        fs::remove_all(dir);
    fs::create_directories(dir);
    std::cout << "N = " << Grouped(n) << "  (files in " << dir.string() << ")\n";
    std::cout << "  " << std::string(66, ' ') << "        time    CPU time  peak memory  note\n";
    const std::vector<TFigure> figures = {
        {"append " + Grouped(n) + " records with memos, no index open", 3.0,
         [](const fs::path& d, uint64_t count) { return Append(d, count); }},
        {"build the 26 tags of the address file", 8.0, BuildTags},
        {"open the table with its 26-tag index", 0.010, OpenWithIndex},
        {"count UPPER(LNAME)=\"SM\" .and. !ISDEL", 0.4,
         [](const fs::path& d, uint64_t) {
             return CountQuery(d, "UPPER(LNAME)=\"SM\" .and. !ISDEL");
         }},
        {"count \"SPRING\"$UPPER(CITY+STATE) .and. !ISDEL", 0.5,
         [](const fs::path& d, uint64_t) {
             return CountQuery(d, "\"SPRING\"$UPPER(CITY+STATE) .and. !ISDEL");
         }},
        {"10,000 prefix seeks of 2 to 5 characters on LNAME", 0.030, PrefixSeeks},
        {"walk the whole file in LNAME order", 0.110, WalkTagOrder},
        {"walk the whole file in record order reading every field", 2.0, WalkRecordOrder},
        {"pack 2 % deleted records, rebuilding the 26 tags", 8.0, Pack},
        {"append 10,000 records with all 26 tags kept up to date", 2.0, AppendIndexed},
    };
    bool ok = true;
    for (const TFigure& figure : figures) {
        const size_t number = static_cast<size_t>(&figure - &figures[0]) + 1;
        if (!only.empty() && std::find(only.begin(), only.end(), number) == only.end())
            continue;
        ok = RunFigure(figure, dir, n) && ok;
        if (!ok && &figure == &figures[0])
            break; // nothing else can run without the table
    }
    std::cout << "\n";
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    qm::bench::TBenchArgs args("quillmark-xbase-bench",
                               "The table engine's figures on generated address files, each in a "
                               "process of its own, with CPU time and peak memory.");
    args.Option("n", "N", "number of records (repeatable); default 100000 and 1000000");
    args.Option("dir", "DIR",
                "where to put the files (default: a new folder under the temporary folder)");
    args.Flag("keep", "leave the files behind");
    args.Option("only", "I",
                "run only figure I (1-based, repeatable), on files left by an earlier --keep run");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    std::vector<uint64_t> sizes;
    std::vector<size_t> only;
    for (const auto& [option, into] : {std::pair{"n", 0}, std::pair{"only", 1}}) {
        for (const std::string& text : args.Values(option)) {
            const std::optional<uint64_t> value = qm::bench::TBenchArgs::Count(text);
            if (!value || *value == 0) {
                std::cerr << "quillmark-xbase-bench: --" << option
                          << " needs a whole number above 0, not " << text << "\n";
                return qm::bench::TBenchArgs::kExitUsage;
            }
            if (into == 0)
                sizes.push_back(*value);
            else
                only.push_back(size_t(*value));
        }
    }
    fs::path base = args.Value("dir").value_or("");
    const bool keep = args.Has("keep") || !only.empty();
    if (sizes.empty())
        sizes = {100000, 1000000};
    const bool ownDir = base.empty();
    if (!only.empty() && ownDir) {
        std::cerr << "quillmark-xbase-bench: --only needs --dir with the files of a --keep run\n";
        return 2;
    }
    if (ownDir) {
        std::string pattern = (fs::temp_directory_path() / "quillmark-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            return 3;
        }
        base = pattern;
    }
    std::cout
        << "Quillmark table engine benchmark. Targets apply at N = 1,000,000; each figure\n"
           "runs in its own process; peak memory is that process's maximum resident size.\n\n";
    int code = 0;
    for (uint64_t n : sizes)
        code = std::max(code, RunSize(base, n, only));
    if (!keep) {
        std::error_code ignored;
        if (ownDir)
            fs::remove_all(base, ignored);
        else
            for (uint64_t n : sizes)
                fs::remove_all(base / ("n" + std::to_string(n)), ignored);
    }
    return code;
}
