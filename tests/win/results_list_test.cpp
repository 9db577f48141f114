// The results list's rules: clearing at 150 lines, selection from the third line, horizontal extent.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/results_list_win.h"
#include "base/gdi.h"
#include "base/scan_state.h"

namespace {

class ResultsListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KeepResults = 0;
        list_ =
            CreateWindowA("LISTBOX", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT, 0,
                          0, 400, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, list_);
    }
    void TearDown() override
    {
        DestroyWindow(list_);
        KeepResults = 0;
    }
    void Append(const std::string& line)
    {
        strncpy(Scan.resultLine, line.c_str(), sizeof Scan.resultLine - 1);
        AppendResultLine(list_);
    }
    LRESULT Count() { return SendMessageA(list_, LB_GETCOUNT, 0, 0); }
    LRESULT Selected() { return SendMessageA(list_, LB_GETCURSEL, 0, 0); }
    LRESULT Extent() { return SendMessageA(list_, LB_GETHORIZONTALEXTENT, 0, 0); }
    HWND list_ = nullptr;
};

int WidthOf(HWND list, const std::string& text)
{
    ClientDC dc(list);
    SIZE size = {};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

TEST_F(ResultsListTest, SelectionFollowsTheLastLineFromTheThirdLineOn)
{
    Append("one");
    EXPECT_EQ(LB_ERR, Selected());
    Append("two");
    EXPECT_EQ(LB_ERR, Selected());
    Append("three");
    EXPECT_EQ(2, Selected());
    Append("four");
    EXPECT_EQ(3, Selected());
}

TEST_F(ResultsListTest, TheHundredFiftyFirstLineEmptiesTheListFirst)
{
    for (int i = 0; i < 150; ++i) Append("line " + std::to_string(i));
    EXPECT_EQ(150, Count());
    Append("line 150");
    ASSERT_EQ(1, Count());
    char text[32];
    SendMessageA(list_, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("line 150", text);
}

TEST_F(ResultsListTest, KeptResultsAreNeverCleared)
{
    for (int i = 0; i < 150; ++i) Append("line " + std::to_string(i));
    KeepResults = 1;
    for (int i = 0; i < 7; ++i) Append("statistics " + std::to_string(i));
    EXPECT_EQ(157, Count());
}

TEST_F(ResultsListTest, ExtentIsThreeQuartersOfTheWidestLineOnceOver560PixelsAndNeverShrinks)
{
    Append("short");
    EXPECT_EQ(0, Extent());
    std::string wide(200, 'W');
    int width = WidthOf(list_, wide);
    ASSERT_GT(width, 560);
    Append(wide);
    EXPECT_EQ(3 * width / 4, Extent());
    std::string wider(260, 'W');
    int widerWidth = WidthOf(list_, wider);
    Append(wider);
    EXPECT_EQ(3 * widerWidth / 4, Extent());
    for (int i = 0; i < 150; ++i) Append("x");  // clears the wide lines away
    EXPECT_EQ(3 * widerWidth / 4, Extent());
    ASSERT_GT(width, 3 * widerWidth / 4);
    Append(wide);  // now the widest line: wider than the extent, yet three quarters of it would be less
    EXPECT_EQ(3 * widerWidth / 4, Extent());
}
