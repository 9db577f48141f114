// The benchmark's figures: one CSV row per measurement (median of the timed runs, per-file cost, peak memory),
// and the table of medians and ratios printed from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Measurement {
    std::string name;
    std::vector<double> runsSeconds;
    int64_t files = 0;
    int64_t peakKb = -1;  // -1: not measured
};

double Median(std::vector<double> values);

// Appends one row; writes the header first when the file is new. False when the file cannot be written.
bool AppendMeasurement(const std::string& csvPath, const Measurement& measurement);

// Prints the medians and the goal ratios from the CSV, and writes the ratios to `ratiosPath`. False when the
// CSV cannot be read.
bool PrintReport(const std::string& csvPath, const std::string& ratiosPath);
