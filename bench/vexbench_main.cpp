// vexbench: the native half of the benchmark (scripts/bench.sh runs it).
//   vexbench corpus --root DIR --manifest FILE --pe-source DIR --files N --seed S
//   vexbench native --root DIR --manifest FILE --csv FILE --hits FILE [--runs R]
//   vexbench core-once --root DIR          one walk of the core, for an outside peak-memory reading
//   vexbench clamdb --out FILE             the shipped rows as ClamAV logical signatures
//   vexbench record --csv FILE --name NAME --files N [--peak-kb K] SECONDS...
//   vexbench report --csv FILE --ratios FILE
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/clam_signatures.h"
#include "bench/corpus.h"
#include "bench/native_bench.h"
#include "bench/results.h"
#include "bench/tree_walk.h"
#include "engine/detection/signature_match.h"

namespace {

struct Arguments {
    std::map<std::string, std::string> options;  // "--name value"
    std::vector<std::string> rest;

    std::string Get(const char* name, const char* fallback = "") const
    {
        const auto found = options.find(name);
        return found == options.end() ? fallback : found->second;
    }
    bool Has(const char* name) const { return options.count(name) != 0; }
};

Arguments Parse(int argc, char** argv)
{
    Arguments arguments;
    for (int i = 2; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0 && i + 1 < argc) {
            arguments.options[argv[i]] = argv[i + 1];
            ++i;
        } else
            arguments.rest.push_back(argv[i]);
    }
    return arguments;
}

int Usage()
{
    std::fprintf(stderr, "usage: vexbench corpus|native|core-once|clamdb|record|report [options] (see the source)\n");
    return 2;
}

int Corpus(const Arguments& arguments)
{
    CorpusOptions options;
    options.root = arguments.Get("--root");
    options.manifest = arguments.Get("--manifest");
    options.peSource = arguments.Get("--pe-source");
    options.files = std::atoi(arguments.Get("--files", "20000").c_str());
    options.seed = std::strtoull(arguments.Get("--seed", "1").c_str(), nullptr, 10);
    if (options.root.empty() || options.manifest.empty() || options.peSource.empty() || options.files < 100)
        return Usage();
    return GenerateCorpus(options) ? 0 : 1;
}

int Native(const Arguments& arguments)
{
    NativeBenchOptions options;
    options.root = arguments.Get("--root");
    options.manifest = arguments.Get("--manifest");
    options.csv = arguments.Get("--csv");
    options.hitsOut = arguments.Get("--hits");
    options.runs = std::atoi(arguments.Get("--runs", "5").c_str());
    if (options.root.empty() || options.csv.empty() || options.hitsOut.empty() || options.runs < 1) return Usage();
    return RunNativeBench(options);
}

int CoreOnce(const Arguments& arguments)
{
    const WalkResult result = Walk(arguments.Get("--root"), WalkKind::CORE, &ShippedSignatureIndex());
    std::printf("%lld files, %zu hits\n", static_cast<long long>(result.files), result.hits.size());
    return 0;
}

int Record(const Arguments& arguments)
{
    Measurement measurement;
    measurement.name = arguments.Get("--name");
    measurement.files = std::atoll(arguments.Get("--files", "0").c_str());
    if (arguments.Has("--peak-kb")) measurement.peakKb = std::atoll(arguments.Get("--peak-kb").c_str());
    for (const std::string& run : arguments.rest) measurement.runsSeconds.push_back(std::atof(run.c_str()));
    if (measurement.name.empty() || measurement.runsSeconds.empty()) return Usage();
    return AppendMeasurement(arguments.Get("--csv"), measurement) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const Arguments arguments = Parse(argc, argv);
    if (command == "corpus") return Corpus(arguments);
    if (command == "native") return Native(arguments);
    if (command == "core-once") return CoreOnce(arguments);
    if (command == "clamdb") return WriteClamDatabase(SignatureTable, arguments.Get("--out")) ? 0 : 1;
    if (command == "record") return Record(arguments);
    if (command == "report") return PrintReport(arguments.Get("--csv"), arguments.Get("--ratios")) ? 0 : 1;
    return Usage();
}
