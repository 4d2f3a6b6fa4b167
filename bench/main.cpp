// The benchmark: how fast and how lean Valkesta is. Every figure is ours against a floor,
// measured side by side in one run (medians of repeated runs); the result is a table and then
// one line per figure, "<figure> <measured> <goal> ok|MISS".
//
//   valkesta_bench [--smoke] [--figures P1,P2,...]
//   valkesta_bench --picture-memory ours|full   (one measurement in a fresh process, for P3)
#include "document_writes.h"
#include "executable.h"
#include "handle_counts.h"
#include "jpeg_image.h"
#include "launch.h"
#include "measure.h"
#include "picture_work.h"
#include "process_output.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Settings {
    int launches;       // P1, P5: starts of each program
    int writeBatches;   // P2
    int writesPerBatch; // P2
    int pictureRuns;    // P3 time
    int memoryRuns;     // P3 memory: fresh processes for each way
    int opens;          // handles
    bool warmUp;        // one unmeasured start of each program first
};
constexpr Settings FullRun{11, 31, 20, 21, 3, 1000, true};
// Once each: that every figure can be measured, not what it is.
constexpr Settings SmokeRun{1, 1, 1, 1, 1, 20, false};

struct Row {
    std::string key, ours, floor, measured, goal;
    bool ok;
    std::string what;
};

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::uint64_t Kb(std::uint64_t bytes) {
    return (bytes + 512) / 1024;
}

std::string KbText(std::uint64_t bytes) {
    return std::to_string(Kb(bytes));
}

class Benchmark {
public:
    explicit Benchmark(const Settings& settings) : settings_(settings) {}

    void Run(const std::set<std::string>& figures) {
        const ExecutableFacts facts = InspectExecutable(VALKESTA_EXE);
        auto wanted = [&](const char* figure) { return figures.empty() || figures.count(figure); };
        if (wanted("P1") || wanted("P5"))
            StartUpAndMemory(facts, wanted("P1"), wanted("P5"));
        if (wanted("P2"))
            DocumentWrite();
        if (wanted("P3"))
            Picture(facts);
        if (wanted("P4"))
            Size(facts);
        if (wanted("handles"))
            Handles();
    }

    void Print() const {
        std::printf("%-8s %10s %10s %9s %7s %-6s %s\n", "figure", "ours", "floor", "measured",
                    "goal", "result", "what");
        for (const Row& row : rows_)
            std::printf("%-8s %10s %10s %9s %7s %-6s %s\n", row.key.c_str(), row.ours.c_str(),
                        row.floor.c_str(), row.measured.c_str(), row.goal.c_str(), Verdict(row),
                        row.what.c_str());
        std::printf("\n");
        for (const Row& row : rows_)
            std::printf("%s %s %s %s\n", row.key.c_str(), row.measured.c_str(), row.goal.c_str(),
                        Verdict(row));
        for (const std::string& problem : problems_)
            std::fprintf(stderr, "valkesta_bench: %s\n", problem.c_str());
    }

    // Whether every figure could be measured and makes sense.
    bool Sane() const { return problems_.empty(); }

private:
    static const char* Verdict(const Row& row) { return row.ok ? "ok" : "MISS"; }

    void Require(bool condition, const std::string& problem) {
        if (!condition)
            problems_.push_back(problem);
    }

    void StartUpAndMemory(const ExecutableFacts& facts, bool startUp, bool memory) {
        const CoverPixels cover{
            ImageControlSize.cx, ImageControlSize.cy,
            classlib::DecodeJpegToSize(facts.cover, ImageControlSize.cx, ImageControlSize.cy)};
        const std::function<LaunchResult()> valkesta = [&] {
            return LaunchValkesta(VALKESTA_EXE, cover);
        };
        const std::function<LaunchResult()> empty = [] {
            return LaunchEmptyWindow(EMPTY_WINDOW_EXE);
        };
        if (settings_.warmUp) {
            valkesta();
            empty();
        }
        const SideBySide<LaunchResult> runs =
            RunSideBySide<LaunchResult>(settings_.launches, valkesta, empty);
        for (const auto* side : {&runs.ours, &runs.floor})
            for (const LaunchResult& run : *side)
                Require(run.windowMs > 0 && run.windowMs <= run.firstPaintMs &&
                            run.peakWorkingSetKb > 0,
                        "a start-up measurement makes no sense");

        if (startUp) {
            const double ours = Median(runs.ours, [](auto& run) { return run.firstPaintMs; });
            const double floor = Median(runs.floor, [](auto& run) { return run.firstPaintMs; });
            const double oursWindow = Median(runs.ours, [](auto& run) { return run.windowMs; });
            const double floorWindow = Median(runs.floor, [](auto& run) { return run.windowMs; });
            AddRatio("P1", ours, floor, 1, 1.30,
                     "start-up to first complete paint, ms (floor: the empty window program; "
                     "window made at " +
                         Fixed(oursWindow, 1) + " vs " + Fixed(floorWindow, 1) + " ms)");
        }
        if (memory) {
            const double ours = Median(runs.ours, [](auto& run) { return run.peakWorkingSetKb; });
            const double floor = Median(runs.floor, [](auto& run) { return run.peakWorkingSetKb; });
            constexpr double GoalKb = 4 * 1024;
            rows_.push_back({"P5", Fixed(ours, 0), Fixed(floor, 0), Fixed(ours - floor, 0),
                             Fixed(GoalKb, 0), ours - floor <= GoalKb,
                             "peak working set with both tabs shown, KB, above the empty "
                             "window program's"});
        }
    }

    void AddRatio(const std::string& key, double ours, double floor, int decimals, double goal,
                  const std::string& what) {
        const double ratio = ours / floor;
        Require(std::isfinite(ratio) && ratio > 0, key + ": no ratio could be measured");
        rows_.push_back({key, Fixed(ours, decimals), Fixed(floor, decimals), Fixed(ratio, 2),
                         Fixed(goal, 2), ratio <= goal, what});
    }

    void DocumentWrite() {
        const TDocumentEntry& entry = CatalogEntryForButton("Button10");
        const DocumentWrites writes =
            TimeDocumentWrites(entry, settings_.writeBatches, settings_.writesPerBatch);
        Require(writes.fileMatches, "P2: the written file is not the embedded document");
        const double perWrite = settings_.writesPerBatch;
        AddRatio("P2", Median(writes.batchMs.ours) / perWrite,
                 Median(writes.batchMs.floor) / perWrite, 3, 1.20,
                 std::string("writing ") + entry.ResourceName + " (" +
                     std::to_string(writes.documentBytes) +
                     " bytes) as the open action does, without the shell, ms (floor: "
                     "CreateFileA, WriteFile, CloseHandle)");
    }

    void Picture(const ExecutableFacts& facts) {
        PaintTarget target;
        const SideBySide<double> times = RunSideBySide<double>(
            settings_.pictureRuns,
            [&] { return TimePictureWork(PictureWay::Ours, facts.cover, target); },
            [&] { return TimePictureWork(PictureWay::FullDecode, facts.cover, target); });
        AddRatio("P3", Median(times.ours), Median(times.floor), 2, 0.50,
                 "the picture's first paint at 137x193, ms (floor: full-size decode and "
                 "StretchBlt)");

        // Both ways must have drawn the cover: averaging and picking pixels differ in the fine
        // lines, not in the mean colour.
        TimePictureWork(PictureWay::Ours, facts.cover, target);
        const PaintTarget::Mean ours = target.MeanColour();
        TimePictureWork(PictureWay::FullDecode, facts.cover, target);
        const PaintTarget::Mean full = target.MeanColour();
        constexpr double Tolerance = 8;
        Require(std::abs(ours.red - full.red) < Tolerance &&
                    std::abs(ours.green - full.green) < Tolerance &&
                    std::abs(ours.blue - full.blue) < Tolerance &&
                    ours.red + ours.green + ours.blue > 10 * Tolerance,
                "P3: the two ways do not draw the same picture");

        const auto growth = [&](PictureWay way) {
            std::vector<double> runs;
            for (int i = 0; i < settings_.memoryRuns; ++i)
                runs.push_back(
                    std::stod(ProcessOutput(SelfPath(), {"--picture-memory", NameOf(way)})));
            return Median(runs);
        };
        const double oursKb = growth(PictureWay::Ours);
        const double fullKb = growth(PictureWay::FullDecode);
        Require(oursKb > 0 && fullKb > oursKb, "P3: the picture memory makes no sense");
        constexpr double GoalKb = 1024;
        rows_.push_back({"P3", Fixed(oursKb, 0), Fixed(fullKb, 0), Fixed(oursKb, 0),
                         Fixed(GoalKb, 0), oursKb <= GoalKb,
                         "peak working set growth of one image control's first paint, KB, in "
                         "a fresh process (floor: full-size decode)"});
    }

    void Size(const ExecutableFacts& facts) {
        Require(facts.documents == 21 && facts.pictureRecords == 2 && facts.iconBytes > 0,
                "P4: the payload was not found where it should be");
        std::string imports;
        for (const std::string& dll : facts.imports)
            imports += (imports.empty() ? "" : " ") + dll;
        std::string notSystem;
        for (const std::string& dll : facts.nonSystemImports)
            notSystem += " " + dll;
        constexpr std::uint64_t GoalKb = 400;
        const std::uint64_t programKb = Kb(facts.ProgramBytes());
        rows_.push_back(
            {"P4", std::to_string(programKb), "-", std::to_string(programKb),
             std::to_string(GoalKb), programKb <= GoalKb && facts.nonSystemImports.empty(),
             "Valkesta.exe without its payload, KB (file " + KbText(facts.fileBytes) + " KB; " +
                 std::to_string(facts.documents) + " documents " + KbText(facts.documentBytes) +
                 " KB, " + std::to_string(facts.pictureRecords) + " picture records " +
                 KbText(facts.pictureRecordBytes) + " KB, icon " + std::to_string(facts.iconBytes) +
                 " bytes; imports " + imports +
                 (notSystem.empty() ? ", all system DLLs)" : "; not system:" + notSystem + ")")});
    }

    void Handles() {
        Require(HandleCountsRespond(), "handles: the counts do not follow objects made");
        const RepeatedOpens opens =
            OpenRepeatedly(CatalogEntryForButton("Button10"), settings_.opens);
        rows_.push_back(
            {"handles", opens.before.ToString(), opens.after.ToString(), opens.before.ToString(),
             opens.after.ToString(), opens.before == opens.after,
             "GDI/USER/kernel before and after " + std::to_string(settings_.opens) +
                 (opens.throughShell ? " runs of OpenDocument (hidden owner, no application "
                                       "registered)"
                                     : " writes of the open action (an application is registered "
                                       "for the document here, so no shell request)")});
    }

    Settings settings_;
    std::vector<Row> rows_;
    std::vector<std::string> problems_;
};

std::set<std::string> FigureList(const std::string& list) {
    std::set<std::string> figures;
    std::istringstream items(list);
    for (std::string item; std::getline(items, item, ',');)
        figures.insert(item);
    return figures;
}

int PrintPictureMemory(const std::string& way) {
    const ResourceModule valkesta = LoadResourceModule(VALKESTA_EXE);
    const auto pictures = LayoutPictures(valkesta.get());
    const std::optional<PictureWay> named = PictureWayNamed(way);
    if (pictures.empty() || !named)
        return 2;
    std::printf("%llu\n",
                static_cast<unsigned long long>(PictureWorkPeakGrowthKb(*named, pictures.front())));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 2 && args[0] == "--picture-memory")
            return PrintPictureMemory(args[1]);
        Settings settings = FullRun;
        std::set<std::string> figures;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--smoke")
                settings = SmokeRun;
            else if (args[i] == "--figures" && i + 1 < args.size())
                figures = FigureList(args[++i]);
            else {
                std::fprintf(stderr, "usage: valkesta_bench [--smoke] [--figures P1,P2,...]\n");
                return 2;
            }
        }
        Benchmark benchmark(settings);
        benchmark.Run(figures);
        benchmark.Print();
        return benchmark.Sane() ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "valkesta_bench: %s\n", error.what());
        return 2;
    }
}
