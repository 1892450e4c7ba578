// Another process for a test to hold files in: a fork of the test (POSIX only).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace norvalde::testing {

// A forked process that runs `body` and then waits: it tells the test when `body` is done
// (or what it threw), and ends when the test lets it go or goes away. The report is its
// standard output and the wait its standard input, so `body` may also become a program that
// writes "ok" once ready and ends when its input closes.
class OtherProcess {
 public:
  explicit OtherProcess(const std::function<void()>& body) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(ready[1], STDOUT_FILENO);
      ::dup2(release[0], STDIN_FILENO);
      for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
      std::string report = "ok";
      try {
        body();
      } catch (const std::exception& error) {
        report = error.what();
      }
      (void)!::write(STDOUT_FILENO, report.data(), report.size());
      ::close(STDOUT_FILENO);
      char go;
      (void)!::read(STDIN_FILENO, &go, 1);
      _exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char buffer[512];
    ssize_t got;
    while ((got = ::read(ready[0], buffer, sizeof buffer)) > 0) report_.append(buffer, got);
    ::close(ready[0]);
  }
  ~OtherProcess() {
    ::close(release_);
    int status;
    ::waitpid(pid_, &status, 0);
  }

  // "ok", or the message of what `body` threw.
  const std::string& report() const { return report_; }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  std::string report_;
};

}  // namespace norvalde::testing
