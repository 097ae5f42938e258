#pragma once
// The resident memory of this process, for long runs that watch it (run --memory-log).
#include <cstdint>
#include <optional>

// Kibibytes resident now; nothing when the system does not say.
std::optional<uint64_t> ResidentKib();
