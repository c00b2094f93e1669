// The bounds of the settings the engine keeps, which the program's options dialog holds its fields
// to as well. Inline and with no other engine dependency, so the program, which binds the engine
// only at run time, builds them from this one place.
#pragma once
#include <cstdint>

// A time-out or maximum below these would fail every download at once or stall the queue: stored
// ones read as the defaults (as does a number too long for 32 bits), and the setters refuse them.
constexpr int32_t kTimeOutDefault = 30;
constexpr int32_t kTimeOutMin = 1;
constexpr int32_t kMaxThreadDefault = 3;
constexpr int32_t kMaxThreadMin = 1;

inline bool TimeOutInRange(int32_t seconds) { return seconds >= kTimeOutMin; }
inline bool MaxThreadInRange(int32_t count) { return count >= kMaxThreadMin; }
