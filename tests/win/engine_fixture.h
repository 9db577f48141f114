// What the engine tests share: a hidden window that records what the progress channel sends, a fresh scan
// state, and scratch folders on drive C: of the sandbox prefix.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/common/file_tree.h"

class ChannelRecorder {
public:
    ChannelRecorder();
    ~ChannelRecorder();
    ChannelRecorder(const ChannelRecorder&) = delete;
    ChannelRecorder& operator=(const ChannelRecorder&) = delete;

    HWND Window() const { return window_; }
    std::vector<std::string> statuses;
    std::vector<std::string> results;
    // Called after each recorded status line, from inside the scan (as the window's handlers would be).
    std::function<void()> onStatus;
    // Once `files` files are counted, posts a request that sets terminateRequested when the walker's pump
    // dispatches it, as the window's cancel handler would.
    void RequestTerminationAfter(int files);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_;
};

// A scratch folder C:\vextest\<name>, emptied first; a failure of the calling test when it cannot be made.
std::string ScratchFolder(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);

// The statistics block that ends every scan, line by line.
std::vector<std::string> Statistics(int scanned, int infected, int removed);

// The visible dialog boxes of this process: the question boxes and the plain message boxes.
std::vector<HWND> OwnDialogBoxes();

// Answers the next question box of this process with the given button (IDYES, IDNO, IDOK, IDCANCEL) from a
// helper thread, within a bound. Answered() waits for that; destruction gives up on a box that never came.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button);
    ~BoxAnswerer();
    bool Answered();
    // Whether a box has been answered already, without waiting (a modal box blocks its caller, so once the
    // call that could have shown it has returned, the answer is in).
    bool AnsweredSoFar() const { return answered_ != 0; }

private:
    static DWORD WINAPI Run(void* self);
    int button_;
    volatile LONG answered_ = 0;
    volatile LONG stop_ = 0;
    HANDLE thread_;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ChannelRecorder* recorder_ = nullptr;
};
