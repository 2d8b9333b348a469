#pragma once
// The resident set of the benchmark's process, as the kernel counts it
// (/proc/self/status): what the program really holds in memory, Qt, the
// Firebird client and every mapped page included, at its highest since a
// mark.

namespace ResidentPeak {

// Hands the heap's free memory back to the system and starts a new high-water
// mark at the resident set now (/proc/self/clear_refs); returns that resident
// set in bytes, or -1 when the mark cannot be reset.
long long Mark();
// The resident set at its highest since the last mark (VmHWM), in bytes.
long long Peak();
// The resident set now (VmRSS), in bytes.
long long Now();

} // namespace ResidentPeak
