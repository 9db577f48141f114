// A fixture that starts the program and reads its main window, with the checks the window tests share.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "tests/gui/gui_driver.h"

namespace gui {

extern const char kTerminateQuestion[];  // "Terminate the Scan now?"

class MainWindowTest : public ::testing::Test {
protected:
    // Starts the program and waits for its window (fatal failure when it does not come).
    void Start();
    HWND Item(int id) const { return GetDlgItem(main_, id); }
    std::string ItemText(int id) const { return Text(Item(id)); }
    std::vector<std::string> Lines() const { return ListLines(Item(ID_RESULTS)); }

    // Each listed control is visible (or hidden) / enabled (or disabled).
    void ExpectVisible(std::initializer_list<int> ids, bool visible) const;
    void ExpectEnabled(std::initializer_list<int> ids, bool enabled) const;

    // Waits until the status line shows `text`.
    bool WaitForStatus(const std::string& text, DWORD timeoutMs) const;
    // Waits for the question box titled `caption`, checks its text, and returns it.
    HWND WaitForQuestion(const char* caption) const;
    // Clicks Yes (6) or No (7) in the question box and waits until it has gone.
    void Answer(HWND box, int buttonId) const;
    // Clicks OK and waits for the program to end.
    void CloseWithOk();

    std::unique_ptr<Program> program_;
    HWND main_ = nullptr;
};

// The statistics block that ends every scan, with an empty line before it when something was found.
std::vector<std::string> StatisticsBlock(int scanned, int infected, int removed);
// The number after the colon of a statistics line, or -1.
int StatisticsValue(const std::string& line);

}  // namespace gui
