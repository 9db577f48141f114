// Process-wide texts and numbers that the window and the engine read from the first moment.
#pragma once

constexpr int kTextBufferSize = 260;  // the platform's MAX_PATH; every plain text buffer has this size

extern char ProductCaption[kTextBufferSize];  // window title, single-instance key, default box caption
extern char FamilyName[kTextBufferSize];      // the malware family named in the window's texts
extern int ScanTimerId;                       // timer that SCAN starts and the scan handler kills

// Asked by the window's CANCEL and X and by Escape during a scan.
extern const char kTerminateQuestion[];
