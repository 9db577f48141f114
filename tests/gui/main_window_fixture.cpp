#include "tests/gui/main_window_fixture.h"

#include <cstdlib>
#include <cstring>

namespace gui {

const char kTerminateQuestion[] = "Terminate the Scan now?";

void MainWindowTest::Start()
{
    program_ = std::make_unique<Program>();
    ASSERT_TRUE(program_->Started()) << "cannot start " << ProgramFolder() << "\\vexilor.exe";
    main_ = program_->FindMainWindow();
    ASSERT_NE(nullptr, main_) << "no window titled " << kProductCaption;
}

void MainWindowTest::ExpectVisible(std::initializer_list<int> ids, bool visible) const
{
    for (int id : ids) EXPECT_EQ(visible, Visible(Item(id))) << "control " << id;
}

void MainWindowTest::ExpectEnabled(std::initializer_list<int> ids, bool enabled) const
{
    for (int id : ids) EXPECT_EQ(enabled, Enabled(Item(id))) << "control " << id;
}

bool MainWindowTest::WaitForStatus(const std::string& text, DWORD timeoutMs) const
{
    return WaitFor([&] { return ItemText(ID_STATUS) == text || !program_->Running(); }, timeoutMs) &&
           ItemText(ID_STATUS) == text;
}

HWND MainWindowTest::WaitForQuestion(const char* caption) const
{
    HWND box = program_->FindWindowTitled(caption, main_, kWindowTimeoutMs);
    if (!box) {
        ADD_FAILURE() << "no question titled " << caption;
        return nullptr;
    }
    // The skinned box shows its text in control 1086; the platform's plain box in 0xFFFF.
    std::string text = Text(GetDlgItem(box, 1086));
    if (text.empty()) text = Text(GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(kTerminateQuestion, text);
    return box;
}

void MainWindowTest::Answer(HWND box, int buttonId) const
{
    HWND button = GetDlgItem(box, buttonId);
    ASSERT_NE(nullptr, button) << "no button " << buttonId << " in the question";
    Click(button);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kReplyTimeoutMs)) << "the question stays open";
}

void MainWindowTest::CloseWithOk()
{
    ASSERT_TRUE(Visible(Item(ID_OK)));
    Click(Item(ID_OK));
    EXPECT_TRUE(program_->WaitForExit(kReplyTimeoutMs)) << "OK does not end the program";
}

std::vector<std::string> StatisticsBlock(int scanned, int infected, int removed)
{
    std::vector<std::string> block;
    if (infected > 0) block.push_back(" ");
    block.push_back("Scanning statistics");
    block.push_back(std::string(30, '-'));
    block.push_back("Total files scanned\t\t:  " + std::to_string(scanned));
    block.push_back("Total files infected\t\t:  " + std::to_string(infected));
    block.push_back("Total files removed\t\t:  " + std::to_string(removed));
    return block;
}

int StatisticsValue(const std::string& line)
{
    size_t colon = line.find("\t\t:  ");
    return colon == std::string::npos ? -1 : std::atoi(line.c_str() + colon + 5);
}

}  // namespace gui
