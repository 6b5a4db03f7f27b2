#pragma once
// A command timed as a process of its own, as a user runs it: the best of a few runs, so that one
// disturbed by the machine's other work does not count.
#include <string>
#include <vector>

// The fastest of `runs` runs of `args` (args[0] the program), its standard output discarded, in
// milliseconds; a negative value when a run failed to start or ended with a status other than 0.
double BestRunMs(std::vector<std::string> args, int runs = 3);
