#pragma once
// The heap of the benchmark's process, counted by its own malloc family
// (every allocation of the program, Qt and the Firebird client passes
// through it): the bytes in use now and at their highest since a mark.

namespace HeapPeak {

// Starts a new peak at the bytes in use now; returns them.
long long Mark();
// The highest bytes in use since the last Mark, less what was in use at it.
long long PeakSinceMark();

} // namespace HeapPeak
