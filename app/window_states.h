// Which controls of the main window each step of its life shows, hides, enables and disables. Controls a step
// does not list keep what they had (DOWNLOAD, the X button, the logo and the family label are never touched
// by a scan).
#pragma once

#include <cstddef>

enum class Visibility { Keep, Show, Hide };
enum class Enabling { Keep, Enable, Disable };

struct ControlChange {
    int id;
    Enabling enabling;  // applied before the visibility, so a control is never shown in its old state
    Visibility visibility;
};

struct ControlChanges {
    const ControlChange* changes;
    size_t count;
};

enum class WindowStep {
    Ready,             // initialisation: the scan's controls are hidden
    ProductInstalled,  // the maker's antivirus product is installed
    ProductNotInstalled,
    ScanStarted,         // SCAN
    TerminateConfirmed,  // Yes to the terminate question from CANCEL, Escape, the window menu or X
    ScanFinished,        // the scan handler has run the scan
};

ControlChanges ChangesFor(WindowStep step);
