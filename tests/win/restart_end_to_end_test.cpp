// Run only by scripts/restart-test.sh, in a prefix of its own: Yes to the restart question ends every process
// of the prefix, this test program included, and the prefix's next start must delete the held sample.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "base/platform_handles.h"
#include "base/scan_state.h"
#include "engine/detection/signature_record.h"
#include "engine/scan_driver.h"
#include "engine_fixture.h"
#include "tools/samplegen/sample_pe.h"

namespace {

const char kFolder[] = "C:\\vexrestart";
const char kSample[] = "C:\\vexrestart\\held.exe";
const char kResultsLog[] = "C:\\vexrestart\\results.txt";
constexpr DWORD kAnswerBoundMs = 600000;  // a whole-drive scan comes before the restart question
// Wine accepts the reboot request at once and ends the prefix's processes a moment later.
constexpr DWORD kSessionEndBoundMs = 60000;

// Answers Yes to every box of this process: on 9x "Could not kill process" comes first (the sample is held by
// this process, which does not run it), then the restart question.
DWORD WINAPI AnswerYesToEveryBox(void*)
{
    std::set<HWND> answered;
    for (DWORD waited = 0; waited < kAnswerBoundMs; waited += 50) {
        for (HWND box : OwnDialogBoxes()) {
            if (!answered.insert(box).second) continue;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // a box without Yes
        }
        Sleep(50);
    }
    return 0;
}

}  // namespace

TEST(RestartEndToEnd, DISABLED_YesToTheRestartQuestionEndsTheSession)
{
    CreateDirectoryA(kFolder, nullptr);
    std::string error;
    ASSERT_TRUE(WriteSample(kSample, SignatureTable[0], SampleOptions(), &error)) << error;
    // Readable, so the check finds it, but not deletable while this handle lives.
    ScopedHandle holder(CreateFileA(kSample, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.IsValid());

    ChannelRecorder recorder;
    ASSERT_NE(nullptr, recorder.Window());
    std::memset(&Scan, 0, sizeof Scan);
    Scan.mainWindow = recorder.Window();
    Scan.action = ACTION_DELETE;
    // The restart ends this process with its output: the results as they stood at the question go to a file.
    recorder.onStatus = [&recorder]() {
        if (std::strcmp(Scan.statusText, "Scanning completed") != 0) return;
        std::string lines;
        for (const std::string& line : recorder.results) lines += line + "\r\n";
        WriteFile(kResultsLog, lines);
    };
    ScopedHandle answerer(CreateThread(nullptr, 0, AnswerYesToEveryBox, nullptr, 0, nullptr));

    RunScan();
    Sleep(kSessionEndBoundMs);

    // Only reached when the restart did not end this process.
    ADD_FAILURE() << "still running after Yes to the restart question; restartNeeded=" << Scan.restartNeeded;
    for (const std::string& line : recorder.results) ADD_FAILURE() << line;
}
