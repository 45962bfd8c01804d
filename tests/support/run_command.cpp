#include "support/run_command.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

extern char** environ;

namespace velmora::testing {
namespace {

// Where the program's standard error goes: a pipe, or the terminal side of a
// pseudo-terminal, read through its other side.
struct ErrorChannel {
  int programEnd;
  int readEnd;
};

ErrorChannel Pipe() {
  int ends[2];
  if (pipe(ends) != 0) throw std::runtime_error("pipe failed");
  return {ends[1], ends[0]};
}

// Both sides of a new pseudo-terminal, or why there is none.
std::optional<ErrorChannel> OpenTerminal(std::string& reason) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) {
    reason = std::string("no pseudo-terminal: ") + std::strerror(errno);
    return std::nullopt;
  }
  const int terminal =
      grantpt(master) == 0 && unlockpt(master) == 0 ? open(ptsname(master), O_RDWR | O_NOCTTY) : -1;
  if (terminal < 0) {
    reason = std::string("cannot open the pseudo-terminal: ") + std::strerror(errno);
    close(master);
    return std::nullopt;
  }
  return ErrorChannel{terminal, master};
}

ErrorChannel Terminal() {
  std::string reason;
  const std::optional<ErrorChannel> channel = OpenTerminal(reason);
  if (!channel) throw std::runtime_error(reason);
  // Bytes pass unchanged: no "\r" put before each "\n".
  termios mode{};
  tcgetattr(channel->programEnd, &mode);
  cfmakeraw(&mode);
  tcsetattr(channel->programEnd, TCSANOW, &mode);
  return *channel;
}

CommandResult Run(const std::string& program, const std::vector<std::string>& args,
                  const std::string& input, ErrorChannel err) {
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err.programEnd, 2);
  for (int fd : {in[0], in[1], out[0], out[1], err.programEnd, err.readEnd}) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err.programEnd);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  CommandResult result;
  size_t written = 0;
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  // A closed end is marked -1, which poll passes over. The side of a
  // pseudo-terminal reports an error rather than the end once the program has
  // closed it.
  pollfd fds[3] = {{out[0], POLLIN, 0}, {err.readEnd, POLLIN, 0}, {in[1], POLLOUT, 0}};
  if (input.empty()) {
    close(in[1]);
    fds[2].fd = -1;
  }
  char buffer[65536];
  while (fds[0].fd >= 0 || fds[1].fd >= 0) {
    if (poll(fds, 3, -1) < 0 && errno != EINTR) break;
    if (fds[2].fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = write(in[1], input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if (n < 0 || written == input.size()) {
        close(in[1]);
        fds[2].fd = -1;
      }
    }
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
      if (n > 0) {
        (k == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
      } else {
        close(fds[k].fd);
        fds[k].fd = -1;
      }
    }
  }
  if (fds[2].fd >= 0) close(in[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace

CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input) {
  return Run(program, args, input, Pipe());
}

std::optional<std::string> WhyNoPseudoTerminal() {
  std::string reason;
  const std::optional<ErrorChannel> channel = OpenTerminal(reason);
  if (!channel) return reason;
  close(channel->programEnd);
  close(channel->readEnd);
  return std::nullopt;
}

CommandResult RunCommandOnTerminal(const std::string& program,
                                   const std::vector<std::string>& args) {
  return Run(program, args, "", Terminal());
}

}  // namespace velmora::testing
