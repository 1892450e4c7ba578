// Runs one measured step in a child process of its own, so that its peak memory is its own
// (getrusage of the child) and nothing it allocates stays behind for the next step.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace norvalde::bench {

// What a step reports: named numbers ("seconds", "read", ...).
using Values = std::map<std::string, double>;

struct ChildResult {
  bool ok = false;
  std::string error;   // why it failed: its message, a signal, the time limit
  double seconds = 0;  // wall time from start to exit, as the parent saw it
  double cpuSeconds = 0;  // user and system time of the child: what other load does not inflate
  double peakMb = 0;   // the child's peak resident memory
  Values values;       // what the step reported
};

// Runs `step` in a forked child; an exception it throws becomes `error`. The child is killed
// after `limitSeconds`.
ChildResult RunInChild(const std::function<void(Values&)>& step, int limitSeconds);

// Runs a program (argv[0] searched in PATH) with its output discarded.
ChildResult RunProgram(const std::vector<std::string>& argv, int limitSeconds);

}  // namespace norvalde::bench
