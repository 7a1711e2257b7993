#pragma once

#include <cstdio>

// The arguments the program answers itself, before any window or single-instance check.
namespace CommandLine {

// "--help" (or "-h") prints the usage lines, "--version" prints "Orbitrax <version>", both to out.
// Returns the exit code when one of them was given, −1 when the game should start (every other
// argument is left for Qt).
int answer(int argc, char** argv, std::FILE* out);

const char* versionText();

} // namespace CommandLine
