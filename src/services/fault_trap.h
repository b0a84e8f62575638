#pragma once
// Fault trapping. Every operation catches its own run-time faults at its
// boundary and ends with the neutral result it holds at that moment; no message
// is shown. The process-wide diagnostic switch NoErrorTrap turns catching off,
// so a fault travels up and ends the program with the platform's report.
//
// Use Trapped() at the boundary of an operation, never try/catch by hand:
//     return Trapped(0, [&] { ...; return 1; });
// or, when the result is assigned step by step and must survive a fault:
//     TrappedRun([&] { result.ok = ...; });
#include <utility>

namespace kalvor {

// The diagnostic switch; set once at start-up ("ErrorCatch", "ec.txt").
bool NoErrorTrap();
void SetNoErrorTrap(bool on);

// Runs body; on any exception returns neutral, unless NoErrorTrap is set.
template <class T, class Body>
T Trapped(T neutral, Body&& body) {
    if (NoErrorTrap()) return std::forward<Body>(body)();
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return neutral;
    }
}

// Runs body, which fills result in place; a fault leaves result as far as it got.
template <class Body>
void TrappedRun(Body&& body) {
    if (NoErrorTrap()) {
        std::forward<Body>(body)();
        return;
    }
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}

}  // namespace kalvor
