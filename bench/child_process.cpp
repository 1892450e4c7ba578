#include "bench/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <sstream>

namespace norvalde::bench {
namespace {

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

// Waits for the child and fills the outcome from its exit status and resource use.
void Collect(pid_t child, std::chrono::steady_clock::time_point start, int limitSeconds,
             ChildResult& result) {
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peakMb = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
  result.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                      (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  if (WIFSIGNALED(status)) {
    result.ok = false;
    result.error = WTERMSIG(status) == SIGALRM
                       ? "stopped after the limit of " + std::to_string(limitSeconds) + " s"
                       : "killed by signal " + std::to_string(WTERMSIG(status));
  } else if (WEXITSTATUS(status) != 0) {
    result.ok = false;
    if (result.error.empty()) result.error = "exit status " + std::to_string(WEXITSTATUS(status));
  } else {
    result.ok = true;
  }
}

}  // namespace

ChildResult RunInChild(const std::function<void(Values&)>& step, int limitSeconds) {
  int channel[2];
  if (pipe(channel) != 0) {
    ChildResult failed;
    failed.error = "pipe failed";
    return failed;
  }
  std::fflush(nullptr);
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    alarm(static_cast<unsigned>(limitSeconds));
    int code = 0;
    std::ostringstream report;
    try {
      Values values;
      step(values);
      for (const auto& [name, value] : values) report << name << ' ' << value << '\n';
    } catch (const std::exception& error) {
      report << "error " << error.what() << '\n';
      code = 1;
    }
    WriteAll(channel[1], report.str());
    _exit(code);
  }
  close(channel[1]);
  ChildResult result;
  std::istringstream report(ReadAll(channel[0]));
  close(channel[0]);
  std::string name;
  while (report >> name) {
    if (name == "error") {
      std::getline(report >> std::ws, result.error);
    } else {
      double value = 0;
      report >> value;
      result.values[name] = value;
    }
  }
  Collect(child, start, limitSeconds, result);
  return result;
}

ChildResult RunProgram(const std::vector<std::string>& argv, int limitSeconds) {
  std::fflush(nullptr);
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    alarm(static_cast<unsigned>(limitSeconds));
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  ChildResult result;
  Collect(child, start, limitSeconds, result);
  return result;
}

}  // namespace norvalde::bench
