// Repeats every failed assertion in a short block after the summary. The suites under Wine print a great deal,
// and a log cut to its last lines should still say what failed and where.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class FailureRecap : public testing::EmptyTestEventListener {
public:
    // The test's name is kept here: asking the framework for it while it reports a result deadlocks.
    void OnTestStart(const testing::TestInfo& test) override
    {
        current_ = std::string(test.test_suite_name()) + "." + test.name();
    }
    void OnTestEnd(const testing::TestInfo&) override { current_ = "(outside a test)"; }

    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (!result.failed() || failures_.size() >= kMaxKept) return;
        std::string line = current_ + ": ";
        line += std::string(result.file_name() ? result.file_name() : "?") + ":" + std::to_string(result.line_number());
        std::string message = result.summary();
        for (char& c : message)
            if (c == '\n' || c == '\r') c = ' ';
        if (message.size() > kMaxMessage) message = message.substr(0, kMaxMessage) + "...";
        failures_.push_back(line + ": " + message);
    }

    void OnTestProgramEnd(const testing::UnitTest&) override
    {
        if (failures_.empty()) return;
        std::printf("\nFailed assertions, in order:\n");
        for (const std::string& failure : failures_) std::printf("  %s\n", failure.c_str());
        std::fflush(stdout);
    }

private:
    static constexpr size_t kMaxKept = 20;
    static constexpr size_t kMaxMessage = 300;
    std::string current_ = "(outside a test)";
    std::vector<std::string> failures_;
};

// Registered before main runs, so that the stock gtest_main needs no change.
const bool registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new FailureRecap);
    return true;
}();

}  // namespace
