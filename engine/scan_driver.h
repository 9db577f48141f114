// One complete scan: memory, every fixed drive C: to Z:, the statistics block, the final status and the
// restart offer. Runs synchronously inside the main window's timer handler; always returns 1.
#pragma once

int RunScan();
