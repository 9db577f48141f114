// Runs SkinMessageBox and acts on the box from inside its modal loop, as a user would: a thread timer finds the
// box once it is up, hands it to the test's action (which looks at it and clicks or presses a key), and ends a
// box that the action failed to close, so that no test can hang.
#pragma once

#include <windows.h>

#include <functional>

// The box's result, or kBoxLeftOpen when the action did not end it within a few seconds.
constexpr int kBoxLeftOpen = 99;
int RunSkinBox(const char* text, const char* caption, unsigned int style, std::function<void(HWND box)> action);

// Actions.
void PressKey(HWND box, WPARAM key);  // to the control that has the focus, through the dialog manager
void ClickButton(HWND box, int id);
void CloseFromTitleBar(HWND box);
