#pragma once
// The two diagnostic switches, read once at start before any other work.

namespace kalvor {

// "LogError" (default 0) becomes LogAll; NoErrorTrap is on when "ErrorCatch"
// (default 0) is nonzero or, when it is 0, a file "ec.txt" is in the program
// folder, so the diagnostic mode can be switched on without touching the
// settings. A value that is not a number counts as 0.
void ReadDiagnosticSwitches();

}  // namespace kalvor
