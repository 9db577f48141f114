#include "bench/results.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct Row {
    double medianSeconds = 0;
    int64_t files = 0;
    int64_t peakKb = -1;

    double PerFile() const { return files > 0 ? medianSeconds / files : 0; }
};

// A ratio of two measurements' costs per file (their runs may cover the tree a different number of times)
// against the goal it is judged by.
struct RatioGoal {
    const char* name;
    const char* numerator;
    const char* denominator;
    const char* goal;  // printed as is
    double limit;      // the ratio must be at most this (or at least, for `atLeast`)
    bool atLeast;
};

const RatioGoal kRatios[] = {
    {"native core / bare walk (listing with lengths)", "native_core_3rows", "native_listing", "<= 1.1", 1.1, false},
    {"native core / names-only listing", "native_core_3rows", "native_names", "(info)", 0, false},
    {"native core / open-everything walk", "native_core_3rows", "native_open_all", "well under 1", 1.0, false},
    // Listing each entry and pumping one message before and after it; the walker also pumps once before each
    // entry of a folder's second search, which is all a scan must do.
    {"GUI scan under Wine / listing + two pumps per entry", "wine_vexilor_scan", "wine_floor_pump_only", "<= 1.25",
     1.25, false},
    {"GUI scan under Wine / listing + the walker's pumps", "wine_vexilor_scan", "wine_floor_walker_pumps", "(info)", 0,
     false},
    {"GUI scan under Wine / Windows listing floor", "wine_vexilor_scan", "wine_floor_listing", "(info)", 0, false},
    {"GUI scan under Wine / one-pass listing floor", "wine_vexilor_scan", "wine_floor_one_pass", "(info)", 0, false},
    {"floor + two message pumps per entry / floor", "wine_floor_pump_only", "wine_floor_listing", "(info)", 0, false},
    {"floor + status line per entry / floor", "wine_floor_status_line", "wine_floor_listing", "(info)", 0, false},
    {"floor + status line every 50 ms / floor", "wine_floor_throttled_status_line", "wine_floor_listing", "(info)", 0,
     false},
    {"972 rows / 3 rows, scan walk", "native_core_972rows", "native_core_3rows", "<= 1.05", 1.05, false},
    {"972 rows / 3 rows, matcher alone in memory", "matcher_972rows", "matcher_3rows", "(info)", 0, false},
    {"clamscan / native core (speed-up)", "clamscan", "native_core_3rows", ">= 100", 100, true},
    {"clamscan / GUI scan under Wine (speed-up)", "clamscan", "wine_vexilor_scan", ">= 2", 2, true},
};

// What one piece of per-entry window work costs: the floor with it less the floor without it.
struct Cost {
    const char* name;
    const char* with;
    const char* without;
};

const Cost kCosts[] = {
    {"two message pumps", "wine_floor_pump_only", "wine_floor_listing"},
    {"the walker's pump in a folder's second search", "wine_floor_walker_pumps", "wine_floor_pump_only"},
    {"the system storing the status text", "wine_floor_text_store", "wine_floor_pump_only"},
    {"the status line's repaint, colour answer included", "wine_floor_status_line", "wine_floor_text_store"},
    {"reading and recording each folder's identity", "wine_floor_folder_identity", "wine_floor_listing"},
    {"the GUI scan beyond the listing and two pumps", "wine_vexilor_scan", "wine_floor_pump_only"},
    {"the GUI scan beyond the listing and the walker's pumps", "wine_vexilor_scan", "wine_floor_walker_pumps"},
};

std::map<std::string, Row> ReadRows(const std::string& csvPath, bool& ok)
{
    std::map<std::string, Row> rows;
    std::ifstream csv(csvPath);
    ok = static_cast<bool>(csv);
    std::string line;
    std::getline(csv, line);  // header
    while (std::getline(csv, line)) {
        std::istringstream fields(line);
        std::string name, median, perFile, files, peak;
        std::getline(fields, name, ',');
        std::getline(fields, median, ',');
        std::getline(fields, perFile, ',');
        std::getline(fields, files, ',');
        std::getline(fields, peak, ',');
        Row row;
        row.medianSeconds = std::atof(median.c_str());
        row.files = std::atoll(files.c_str());
        row.peakKb = peak.empty() ? -1 : std::atoll(peak.c_str());
        rows[name] = row;  // a later run of the same measurement replaces an earlier one
    }
    return rows;
}

}  // namespace

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool AppendMeasurement(const std::string& csvPath, const Measurement& measurement)
{
    struct stat info;
    const bool fresh = stat(csvPath.c_str(), &info) != 0;
    std::ofstream csv(csvPath, std::ios::app);
    if (fresh) csv << "measurement,median_s,per_file_us,files,peak_kb,runs_s\n";
    const double median = Median(measurement.runsSeconds);
    char figures[128];
    std::snprintf(figures, sizeof figures, "%.6f,%.4f,%lld,", median,
                  measurement.files > 0 ? median * 1e6 / measurement.files : 0.0,
                  static_cast<long long>(measurement.files));
    csv << measurement.name << "," << figures;
    if (measurement.peakKb >= 0) csv << measurement.peakKb;
    csv << ",";
    for (size_t i = 0; i < measurement.runsSeconds.size(); ++i) {
        char run[32];
        std::snprintf(run, sizeof run, "%s%.6f", i ? " " : "", measurement.runsSeconds[i]);
        csv << run;
    }
    csv << "\n";
    return static_cast<bool>(csv);
}

bool PrintReport(const std::string& csvPath, const std::string& ratiosPath)
{
    bool ok = false;
    const std::map<std::string, Row> rows = ReadRows(csvPath, ok);
    if (!ok) return false;

    std::printf("\n%-34s %10s %14s %10s %12s\n", "measurement", "median s", "per file us", "files", "peak KB");
    for (const auto& [name, row] : rows) {
        std::printf("%-34s %10.4f %14.4f %10lld ", name.c_str(), row.medianSeconds, row.PerFile() * 1e6,
                    static_cast<long long>(row.files));
        if (row.peakKb >= 0)
            std::printf("%12lld\n", static_cast<long long>(row.peakKb));
        else
            std::printf("%12s\n", "-");
    }

    std::ofstream ratios(ratiosPath, std::ios::trunc);
    ratios << "ratio,value,goal,met\n";
    std::printf("\n%-52s %10s %14s %s\n", "ratio of per-file medians", "value", "goal", "");
    for (const RatioGoal& ratio : kRatios) {
        const auto top = rows.find(ratio.numerator);
        const auto bottom = rows.find(ratio.denominator);
        if (top == rows.end() || bottom == rows.end() || bottom->second.PerFile() <= 0) continue;
        const double value = top->second.PerFile() / bottom->second.PerFile();
        const bool judged = ratio.limit > 0;
        const bool met = ratio.atLeast ? value >= ratio.limit : value <= ratio.limit;
        const char* verdict = !judged ? "" : met ? "met" : "MISSED";
        std::printf("%-52s %10.3f %14s %s\n", ratio.name, value, ratio.goal, verdict);
        ratios << '"' << ratio.name << "\"," << value << ",\"" << ratio.goal << "\"," << verdict << "\n";
    }

    std::printf("\n%-56s %10s\n", "cost under Wine, per file", "us");
    for (const Cost& cost : kCosts) {
        const auto with = rows.find(cost.with);
        const auto without = rows.find(cost.without);
        if (with == rows.end() || without == rows.end()) continue;
        std::printf("%-56s %10.1f\n", cost.name, (with->second.PerFile() - without->second.PerFile()) * 1e6);
    }
    return static_cast<bool>(ratios);
}
