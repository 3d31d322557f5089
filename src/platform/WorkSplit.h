#pragma once

#include <cstddef>
#include <functional>

namespace lumetra {

// The one way this program works on several cores. Work is split into parts that each own their
// results (a range of pairs, a range of bytes, a set of sums), so what a part computes does not
// depend on how many parts there are and every result keeps its bits.

// How many parts work may be split into: the machine's cores, from 1 to 16.
int MaxWorkParts();

// While it lives, MaxWorkParts() answers this count instead, so that benchmarks and tests can
// compare part counts on any machine.
class WorkPartsOverride {
public:
    explicit WorkPartsOverride(int parts);
    ~WorkPartsOverride();
    WorkPartsOverride(const WorkPartsOverride&) = delete;
    WorkPartsOverride& operator=(const WorkPartsOverride&) = delete;

private:
    int m_previous;
};

// The parts that `items` units of work are worth when each part should have at least
// `minPerPart` of them: from 1 to MaxWorkParts(). Below that a thread costs more than it saves.
int WorkParts(size_t items, size_t minPerPart);

// Runs body(part, parts) for every part from 0 to parts - 1, part 0 on the calling thread and the
// others on threads of their own, and returns when all have ended. A part whose thread cannot be
// started runs on the calling thread. An exception thrown by a part is rethrown here once every
// part has ended (the one of the lowest part when several throw).
void RunParts(int parts, const std::function<void(int part, int parts)>& body);

} // namespace lumetra
