#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/samplegen/sample_pe.h"
#include "tools/sigtool/row_table.h"
#include "tools/sigtool/row_text.h"
#include "tools/sigtool/sample_file.h"
#include "tools/sigtool/sigtool.h"

namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "sigtool-test-XXXXXX").string();
        if (mkdtemp(&pattern[0])) path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code error;
        if (!path_.empty()) fs::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
};

struct ToolRun {
    int code;
    std::string out, err;
};

ToolRun Sigtool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = RunSigtool(args, out, err);
    return {code, out.str(), err.str()};
}

// A record that is none of the shipped ones, with a string in a section after the entry point's neighbour.
SignatureRecord NewRecord()
{
    uint8_t first[kPatternLength], second[kPatternLength];
    for (int i = 0; i < kPatternLength; ++i) {
        first[i] = static_cast<uint8_t>(37 * i + 11);
        second[i] = static_cast<uint8_t>(91 * i + 5);
    }
    return MakeRecord("W32/StartPage.Test.Trojan", -0x2345, first, 0x345, second, 40000, SIZE_TEST_EXACT);
}

bool WriteSampleFile(const std::string& path, const SignatureRecord& record, NearMiss miss, SampleInfo* info = nullptr,
                     SampleLayout layout = LAYOUT_PLAIN)
{
    SampleOptions options;
    options.nearMiss = miss;
    options.layout = layout;
    std::vector<uint8_t> image;
    std::string error;
    return BuildSample(record, options, image, info, &error) && WriteImage(path.c_str(), image, &error);
}

bool WriteText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& start)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        if (line.compare(0, start.size(), start) == 0) lines.push_back(line);
    return lines;
}

const NearMiss kNearMisses[] = {NEAR_MISS_FIRST_STRING, NEAR_MISS_SECOND_STRING, NEAR_MISS_LONGER, NEAR_MISS_SHORTER};

}  // namespace

TEST(Sigtool, MadeRowIsTheSamplesRecordAndMatchesNothingElseInTheCorpus)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Made());
    const std::string corpus = folder / "corpus";
    fs::create_directory(corpus);
    // The entry point's section comes second: the offsets must be mapped through the section table.
    const SignatureRecord record = NewRecord();
    const std::string sample = corpus + "/new.exe";
    ASSERT_TRUE(WriteSampleFile(sample, record, NEAR_MISS_NONE, nullptr, LAYOUT_ENTRY_IN_LATER_SECTION));
    for (NearMiss miss : kNearMisses)
        ASSERT_TRUE(WriteSampleFile(corpus + "/miss" + std::to_string(miss) + ".exe", record, miss));
    for (int row = 0; SignatureTable[row].name[0] != '\0'; ++row)
        ASSERT_TRUE(
            WriteSampleFile(corpus + "/shipped" + std::to_string(row) + ".exe", SignatureTable[row], NEAR_MISS_NONE));

    const ToolRun made = Sigtool({"make", sample, "--name", record.name, "--first", "-0x2345", "--second", "837"});
    ASSERT_EQ(0, made.code) << made.err;
    EXPECT_EQ(FormatRow(record) + "\n", made.out) << "the row holds the bytes the generator put at the offsets";
    EXPECT_EQ("", made.err) << "no shipped row matches the new sample";

    const std::string rows = folder / "rows.inc";
    ASSERT_TRUE(WriteText(rows, made.out));
    const ToolRun checked = Sigtool({"check", "--rows", rows, "--clean", corpus});
    EXPECT_EQ(1, checked.code) << "a matched file is a finding";
    EXPECT_EQ(std::vector<std::string>{sample + ": matched by row 1 (W32/StartPage.Test.Trojan)"},
              LinesStartingWith(checked.out, corpus + "/"))
        << checked.out;
    EXPECT_NE(std::string::npos, checked.out.find(": 8 files, 8 read as PE, 1 matched")) << checked.out;
}

TEST(Sigtool, MakeRefusesWhatNoRowCanHold)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Made());
    const SignatureRecord record = NewRecord();
    const std::string sample = folder / "new.exe";
    ASSERT_TRUE(WriteSampleFile(sample, record, NEAR_MISS_NONE));
    std::vector<uint8_t> wide;
    SampleOptions twentyOne;
    twentyOne.layout = LAYOUT_TWENTY_ONE_SECTIONS;
    ASSERT_TRUE(BuildSample(record, twentyOne, wide, nullptr, nullptr));
    ASSERT_TRUE(WriteImage((folder / "wide.exe").c_str(), wide, nullptr));
    ASSERT_TRUE(WriteText(folder / "text.txt", "begin\n"));

    const std::string longest(49, 'N');
    EXPECT_EQ(0, Sigtool({"make", sample, "--name", longest, "--first", "-9029", "--second", "837"}).code);
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{folder / "text.txt", "--name", "N", "--first", "0", "--second", "0"}, "not a PE file the matcher accepts"},
        {{folder / "wide.exe", "--name", "N", "--first", "0", "--second", "0"}, "more than 20 sections"},
        {{folder / "none.exe", "--name", "N", "--first", "0", "--second", "0"}, "cannot be opened"},
        {{sample, "--name", longest + "N", "--first", "-9029", "--second", "837"}, "longer than the record's 49"},
        {{sample, "--name", "W32/\"quoted\"", "--first", "-9029", "--second", "837"}, "printable ASCII"},
        {{sample, "--name", "", "--first", "-9029", "--second", "837"}, "the name is empty"},
        {{sample, "--name", "N", "--first", "-9029", "--second", "0x100000"}, "do not lie inside the 40000-byte"},
        {{sample, "--name", "N", "--first", "39980", "--second", "837"}, "do not lie inside"},
        {{sample, "--name", "N", "--first", "12k", "--second", "837"}, "32-bit offset"},
        {{sample, "--name", "N", "--first", "2147483648", "--second", "837"}, "32-bit offset"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"make"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = Sigtool(args);
        EXPECT_EQ(1, run.code) << c.message;
        EXPECT_EQ("", run.out) << c.message;
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
    EXPECT_EQ(2, Sigtool({"make", sample, "--name", "N", "--first", "0"}).code) << "--second is missing";
}

TEST(Sigtool, ExplainNamesTheFailingTestAndWhereItLooked)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Made());
    const SignatureRecord& record = SignatureTable[0];
    const std::string label = "row 1 (W32/StartPage.Eej.Dropper.Trojan)";
    struct Case {
        NearMiss miss;
        const char* verdict;
    };
    const Case cases[] = {
        {NEAR_MISS_NONE, "the row matches"},
        {NEAR_MISS_FIRST_STRING, "the first string fails"},
        {NEAR_MISS_SECOND_STRING, "the second string fails"},
        {NEAR_MISS_LONGER, "no row's size test accepts 17942 bytes; the nearest is row 1"},
        {NEAR_MISS_SHORTER, "no row's size test accepts 17940 bytes; the nearest is row 1"},
    };
    for (const Case& c : cases) {
        const std::string path = folder / ("sample" + std::to_string(c.miss) + ".exe");
        SampleInfo info;
        ASSERT_TRUE(WriteSampleFile(path, record, c.miss, &info));
        const ToolRun run = Sigtool({"explain", path});
        EXPECT_EQ(0, run.code) << run.err;
        EXPECT_NE(std::string::npos, run.out.find(c.verdict)) << run.out;
        EXPECT_NE(std::string::npos,
                  run.out.find(c.miss == NEAR_MISS_NONE ? "matched by " + label : std::string("no row matches")))
            << run.out;
        if (c.miss == NEAR_MISS_LONGER || c.miss == NEAR_MISS_SHORTER) continue;
        // Where it looked, and the byte that differs: the generator flips the last one.
        EXPECT_NE(std::string::npos, run.out.find("at " + FileOffsetText(info.firstStringOffset) + ": ")) << run.out;
        EXPECT_NE(std::string::npos, run.out.find("at " + FileOffsetText(info.secondStringOffset) + ": ")) << run.out;
        if (c.miss != NEAR_MISS_NONE) {
            EXPECT_NE(std::string::npos, run.out.find("1 of 20 bytes differ; the first is byte 20")) << run.out;
        }
    }
    EXPECT_EQ(1, Sigtool({"explain", folder / "none.exe"}).code);
}

TEST(Sigtool, CheckFindsDuplicatedShadowedAndMalformedRows)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Made());
    std::vector<SignatureRecord> rows = CompiledRows();
    const SignatureRecord balf = rows[1], trojan = rows[2];
    rows.push_back(rows[0]);  // row 4: a duplicate
    SignatureRecord swapped = MakeRecord("W32/StartPage.Swapped.Trojan", balf.secondOffset, balf.secondPattern,
                                         balf.firstOffset, balf.firstPattern, balf.fileSize, SIZE_TEST_EXACT);
    rows.push_back(swapped);  // row 5: row 2's strings in the other order
    SignatureRecord tolerant = trojan;
    tolerant.sizeTest = SIZE_TEST_TOLERANCE;
    rows.push_back(tolerant);  // row 6: wider than row 3, so not shadowed by it
    SignatureRecord moved = trojan;
    moved.secondOffset += 1;
    rows.push_back(moved);  // row 7: a string row 3 does not test
    SignatureRecord inWindow = MakeRecord("W32/StartPage.Window.Trojan", trojan.firstOffset, trojan.firstPattern,
                                          trojan.secondOffset, trojan.secondPattern, trojan.fileSize + 4095, 1);
    rows.push_back(inWindow);  // row 8: inside row 6's size window
    SignatureRecord unknownTest = NewRecord();
    unknownTest.sizeTest = 4;
    rows.push_back(unknownTest);  // row 9

    std::string text = "// a test table\n\n";
    for (const SignatureRecord& row : rows) text += FormatRow(row) + "\n";
    const std::string path = folder / "rows.inc";
    ASSERT_TRUE(WriteText(path, text));
    const ToolRun run = Sigtool({"check", "--rows", path});
    EXPECT_EQ(1, run.code);
    const std::vector<std::string> expected = {
        "row 4 (W32/StartPage.Eej.Dropper.Trojan): duplicate of row 1 (W32/StartPage.Eej.Dropper.Trojan)",
        "row 5 (W32/StartPage.Swapped.Trojan): shadowed by row 2 (W32/StartPage.Balf.Trojan), which matches every "
        "file it matches",
        "row 8 (W32/StartPage.Window.Trojan): shadowed by row 6 (W32/StartPage.Trojan), which matches every file it "
        "matches",
        "row 9 (W32/StartPage.Test.Trojan): the size test is not 1, 2 or 3, so the row never matches",
    };
    EXPECT_EQ(expected, LinesStartingWith(run.out, "row ")) << run.out;

    const ToolRun shipped = Sigtool({"check"});
    EXPECT_EQ(0, shipped.code) << shipped.out;
    EXPECT_EQ("compiled-in table: 3 rows, 0 faulty\n", shipped.out);
}

TEST(Sigtool, RowsFileReadsAsTheCompiledTableAndNamesABadLine)
{
    std::vector<SignatureRecord> rows;
    std::string error;
    ASSERT_TRUE(ReadRowsFile(std::string(VEX_SOURCE_DIR) + "/engine/detection/signature_rows.inc", rows, error))
        << error;
    const std::vector<SignatureRecord> compiled = CompiledRows();
    ASSERT_EQ(compiled.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(0, std::memcmp(&compiled[i], &rows[i], sizeof rows[i])) << "row " << i + 1;

    const std::string good = FormatRow(compiled[0]);
    struct Case {
        std::string line;
        const char* fault;
    };
    const Case cases[] = {
        {good.substr(0, good.size() - 1), "the row does not end after its seven fields"},
        {"SIGNATURE_ROW(\"\"" + good.substr(good.find(',')), "the name is empty"},
        {good.substr(0, good.find("\"01") + 1) + "X" + good.substr(good.find("\"01") + 2), "the first pattern"},
        {"ROW" + good, "not a SIGNATURE_ROW line"},
    };
    for (const Case& c : cases) {
        rows.clear();
        EXPECT_FALSE(ParseRows("// rows\n" + good + "\n\n" + c.line + "\n", rows, error)) << c.line;
        EXPECT_EQ(0u, error.find(std::string("line 4: ") + c.fault)) << error;
    }
}
