// Reads an operation's slot number off its member pointer, for the tests that pin table layouts.
#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Under the Itanium C++ ABI (g++ on Linux and mingw) a pointer to a virtual member function holds
// one plus the operation's byte offset in its table; -1 for a non-virtual member.
template <class F>
long SlotOf(F member) {
    struct Rep {
        uintptr_t ptr;
        ptrdiff_t adj;
    } rep;
    static_assert(sizeof(F) == sizeof(Rep), "unexpected member pointer layout");
    std::memcpy(&rep, &member, sizeof rep);
    if ((rep.ptr & 1) == 0) return -1;
    return long((rep.ptr - 1) / sizeof(void*));
}

struct Slot {
    const char* name;
    long actual;
    long expected;
};

inline void CheckSlots(const Slot* slots, size_t n) {
    for (size_t i = 0; i < n; ++i) EXPECT_EQ(slots[i].actual, slots[i].expected) << slots[i].name;
}

#define SLOT(Class, Op, n) Slot{#Class "::" #Op, SlotOf(&Class::Op), n}
