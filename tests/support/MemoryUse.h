// How much memory the test process holds, for tests that bound what a piece of code takes.
#pragma once

// Makes the peak what the process holds now; false where the kernel does not let it.
bool ResetPeakMemory();

// The most the process has held since it started or since the last reset, in KiB.
long PeakMemoryKiB();

// What the process holds now, in KiB.
long MemoryKiB();
