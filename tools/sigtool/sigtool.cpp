#include "tools/sigtool/sigtool.h"

#include <memory>
#include <optional>

#include "tools/sigtool/clean_scan.h"
#include "tools/sigtool/explain.h"
#include "tools/sigtool/row_maker.h"
#include "tools/sigtool/row_text.h"
#include "tools/sigtool/table_check.h"

namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: sigtool make SAMPLE --name NAME --first OFFSET --second OFFSET [--rows FILE]\n"
    "           prints the SIGNATURE_ROW line for the sample: its length and the 20 bytes at each offset\n"
    "           from its entry point (decimal or 0x hexadecimal, negative before it)\n"
    "       sigtool explain FILE [--rows FILE]\n"
    "           the row that matches the file, and what each row of its length finds at each string\n"
    "       sigtool check [--rows FILE] [--any-size] [--clean DIR]...\n"
    "           checks the table (well-formed rows, no duplicated or shadowed row) and reports every file\n"
    "           under each DIR that a row matches; --any-size holds the byte strings against files of\n"
    "           every length too\n"
    "--rows FILE takes the rows from FILE, in engine/detection/signature_rows.inc's form, instead of the compiled-in "
    "table.\n"
    "Exit status: 0 done and nothing found, 1 input refused or something found, 2 usage.\n";

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> rowsFile;
    std::optional<std::string> name, first, second;
    std::vector<std::string> cleanFolders;
    bool anySize = false;

    bool HasMakeOptions() const { return name || first || second; }
    bool HasCheckOptions() const { return !cleanFolders.empty() || anySize; }
    bool IsMake() const
    {
        return command == "make" && positional.size() == 1 && name && first && second && !HasCheckOptions();
    }
    bool IsExplain() const
    {
        return command == "explain" && positional.size() == 1 && !HasMakeOptions() && !HasCheckOptions();
    }
    bool IsCheck() const { return command == "check" && positional.empty() && !HasMakeOptions(); }
};

bool ParseOptions(const std::vector<std::string>& args, Options& options)
{
    if (args.empty()) return false;
    options.command = args[0];
    struct Valued {
        const char* flag;
        std::optional<std::string>* value;
    };
    const Valued valued[] = {{"--rows", &options.rowsFile},
                             {"--name", &options.name},
                             {"--first", &options.first},
                             {"--second", &options.second}};
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool known = false;
        for (const Valued& option : valued)
            if (arg == option.flag && i + 1 < args.size()) {
                *option.value = args[++i];
                known = true;
                break;
            }
        if (known) continue;
        if (arg == "--clean" && i + 1 < args.size())
            options.cleanFolders.push_back(args[++i]);
        else if (arg == "--any-size")
            options.anySize = true;
        else if (!arg.empty() && arg[0] != '-')
            options.positional.push_back(arg);
        else
            return false;
    }
    return true;
}

std::unique_ptr<RowTable> LoadTable(const Options& options, std::ostream& err)
{
    if (!options.rowsFile) return std::make_unique<RowTable>(CompiledRows());
    std::vector<SignatureRecord> rows;
    std::string error;
    if (!ReadRowsFile(*options.rowsFile, rows, error)) {
        err << "sigtool: " << error << "\n";
        return nullptr;
    }
    return std::make_unique<RowTable>(std::move(rows));
}

int Make(const Options& options, const RowTable& table, std::ostream& out, std::ostream& err)
{
    RowRequest request;
    request.name = *options.name;
    if (!ParseInt32(*options.first, request.firstOffset) || !ParseInt32(*options.second, request.secondOffset)) {
        err << "sigtool: --first and --second take a 32-bit offset, decimal or 0x hexadecimal\n";
        return kRefused;
    }
    SampleFile sample(options.positional[0]);
    SignatureRecord row;
    std::string error;
    if (!MakeRow(sample, request, row, error)) {
        err << "sigtool: " << error << "\n";
        return kRefused;
    }
    out << FormatRow(row) << "\n";
    if (const SignatureRecord* hit = table.Index().Match(sample.file, sample.length, sample.headers))
        err << "sigtool: note: the table already matches the sample as " << table.Label(table.IndexOf(hit))
            << "; the new row names it only if it stands before that row\n";
    return kDone;
}

int Explain(const Options& options, const RowTable& table, std::ostream& out, std::ostream& err)
{
    SampleFile sample(options.positional[0]);
    std::string error;
    if (!sample.ReadHeaders(error)) {
        err << "sigtool: " << error << "\n";
        return kRefused;
    }
    ExplainSample(sample, table, out);
    return kDone;
}

int ScanClean(const Options& options, const RowTable& table, std::ostream& out, std::ostream& err)
{
    const CleanScanner scanner(table, options.anySize);
    int matched = 0;
    bool walked = true;
    for (const std::string& folder : options.cleanFolders) {
        CleanTally tally;
        std::string error;
        if (!scanner.Scan(folder, tally, error)) {
            err << "sigtool: " << error << "\n";
            walked = false;
        }
        for (const CleanHit& hit : tally.hits)
            out << hit.path << ": " << (hit.sizeIgnored ? "the byte strings of " : "matched by ")
                << table.Label(hit.row) << (hit.sizeIgnored ? " (its length is not the row's)" : "") << "\n";
        out << "clean folder " << folder << ": " << tally.files << " files, " << tally.peFiles << " read as PE, "
            << tally.hits.size() << " matched";
        if (tally.unreadable) out << ", " << tally.unreadable << " could not be opened";
        out << "\n";
        matched += static_cast<int>(tally.hits.size());
    }
    return walked && matched == 0 ? kDone : kRefused;
}

int Check(const Options& options, const RowTable& table, std::ostream& out, std::ostream& err)
{
    const std::vector<TableFault> faults = CheckTable(table);
    for (const TableFault& fault : faults) out << table.Label(fault.row) << ": " << fault.what << "\n";
    out << options.rowsFile.value_or("compiled-in table") << ": " << table.RowCount() << " rows, " << faults.size()
        << " faulty\n";
    const int scanned = ScanClean(options, table, out, err);
    return faults.empty() && scanned == kDone ? kDone : kRefused;
}

}  // namespace

int RunSigtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    if (!ParseOptions(args, options) || !(options.IsMake() || options.IsExplain() || options.IsCheck())) {
        err << kUsageText;
        return kUsage;
    }
    const std::unique_ptr<RowTable> table = LoadTable(options, err);
    if (!table) return kRefused;
    if (options.IsMake()) return Make(options, *table, out, err);
    if (options.IsExplain()) return Explain(options, *table, out, err);
    return Check(options, *table, out, err);
}
