#include "bench/native_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "bench/results.h"
#include "bench/synthetic_table.h"
#include "bench/tree_walk.h"
#include "engine/detection/signature_match.h"
#include "tools/samplegen/memory_file.h"

namespace {

constexpr uint64_t kSyntheticSeed = 972;
// A timed run repeats its pass until it lasts about this long: a pass of a few milliseconds is at the mercy
// of the scheduler on a busy machine.
constexpr double kMinRunSeconds = 0.25;

struct Timed {
    std::string name;
    std::function<int64_t()> pass;  // returns the number of files it handled
    Measurement measurement;
    int repeats = 1;
};

// One run: `repeats` passes; `files` counts the files of all of them.
double Seconds(const Timed& timed, int64_t& files)
{
    files = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < timed.repeats; ++i) files += timed.pass();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::set<std::string> ExpectedHits(const std::string& manifest)
{
    std::set<std::string> hits;
    std::ifstream lines(manifest);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("hit\t", 0) == 0) hits.insert(line.substr(4));
    return hits;
}

bool SameHits(const char* what, const std::vector<std::string>& found, const std::set<std::string>& expected)
{
    const std::set<std::string> got(found.begin(), found.end());
    if (got == expected && found.size() == expected.size()) {
        std::printf("%s finds exactly the %zu expected samples\n", what, expected.size());
        return true;
    }
    std::fprintf(stderr, "%s: found %zu, expected %zu:\n", what, found.size(), expected.size());
    for (const std::string& hit : found) std::fprintf(stderr, "  found    %s\n", hit.c_str());
    for (const std::string& hit : expected) std::fprintf(stderr, "  expected %s\n", hit.c_str());
    return false;
}

// The matcher's own cost per file, without the file system: the length test for every file of the tree,
// and the header read and table match, in memory, for the files some record's length accepts.
class MatcherPass {
public:
    MatcherPass(const std::string& root, const std::vector<const SignatureIndex*>& indexes)
    {
        for (const ListedFile& file : ListFiles(root)) {
            lengths_.push_back(file.length);
            bool accepted = false;
            for (const SignatureIndex* index : indexes) accepted = accepted || index->AcceptsLength(file.length);
            if (!accepted) continue;
            std::ifstream stream(root + "/" + file.path, std::ios::binary);
            contents_[lengths_.size() - 1].assign(std::istreambuf_iterator<char>(stream),
                                                  std::istreambuf_iterator<char>());
        }
    }

    int64_t Run(const SignatureIndex& index)
    {
        for (size_t i = 0; i < lengths_.size(); ++i) {
            if (!index.AcceptsLength(lengths_[i])) continue;
            const auto content = contents_.find(i);
            if (content == contents_.end()) continue;
            MemoryFile file(content->second);
            PeHeaders headers;
            if (ReadPeHeaders(file, headers) && index.Match(file, static_cast<int32_t>(lengths_[i]), headers)) ++hits_;
        }
        return static_cast<int64_t>(lengths_.size());
    }

private:
    std::vector<int64_t> lengths_;
    std::map<size_t, std::vector<uint8_t>> contents_;
    int64_t hits_ = 0;
};

}  // namespace

int RunNativeBench(const NativeBenchOptions& options)
{
    const SignatureIndex& shipped = ShippedSignatureIndex();
    const std::vector<SignatureRecord> syntheticTable = BuildSyntheticTable(SignatureTable, kSyntheticSeed);
    const SignatureIndex synthetic(syntheticTable.data());
    const std::string& root = options.root;

    // Correctness first: both tables must find the samples and nothing else.
    const std::set<std::string> expected = ExpectedHits(options.manifest);
    const WalkResult shippedWalk = Walk(root, WalkKind::CORE, &shipped);
    const bool agree = SameHits("3-row table", shippedWalk.hits, expected) &
                       SameHits("972-row table", Walk(root, WalkKind::CORE, &synthetic).hits, expected);
    std::ofstream hits(options.hitsOut, std::ios::trunc);
    for (const std::string& hit : shippedWalk.hits) hits << hit << "\n";

    MatcherPass matcher(root, {&shipped, &synthetic});
    std::vector<Timed> timed = {
        {"native_names", [&] { return Walk(root, WalkKind::NAMES, nullptr).files; }, {}},
        {"native_listing", [&] { return Walk(root, WalkKind::LISTING, nullptr).files; }, {}},
        {"native_open_all", [&] { return Walk(root, WalkKind::OPEN_ALL, nullptr).files; }, {}},
        {"native_core_3rows", [&] { return Walk(root, WalkKind::CORE, &shipped).files; }, {}},
        {"native_core_972rows", [&] { return Walk(root, WalkKind::CORE, &synthetic).files; }, {}},
        {"matcher_3rows", [&] { return matcher.Run(shipped); }, {}},
        {"matcher_972rows", [&] { return matcher.Run(synthetic); }, {}},
    };
    for (Timed& measure : timed) {  // warm-up; the second pass, with warm caches, sets the repeat count
        measure.measurement.name = measure.name;
        Seconds(measure, measure.measurement.files);
        const double once = Seconds(measure, measure.measurement.files);
        measure.repeats = once >= kMinRunSeconds ? 1 : static_cast<int>(kMinRunSeconds / std::max(once, 1e-6)) + 1;
    }
    for (int round = 0; round < options.runs; ++round) {
        for (size_t i = 0; i < timed.size(); ++i) {
            Timed& measure = timed[(i + round) % timed.size()];
            measure.measurement.runsSeconds.push_back(Seconds(measure, measure.measurement.files));
        }
    }
    bool written = true;
    for (Timed& measure : timed) {
        std::printf("%-22s median %.4f s over %zu runs, %lld files\n", measure.name.c_str(),
                    Median(measure.measurement.runsSeconds), measure.measurement.runsSeconds.size(),
                    static_cast<long long>(measure.measurement.files));
        written = AppendMeasurement(options.csv, measure.measurement) && written;
    }
    return agree && written ? 0 : 1;
}
