#include "cli/terminal_line.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace zelmot::cli {

bool readTerminalLine(Event& cancel, std::string& line) {
  line.clear();
  for (;;) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {cancel.fd(), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (cancel.isSet()) return false;
    char c = 0;
    const ssize_t got = read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    if (c == '\n') return true;
    if (c != '\r') line.push_back(c);
  }
}

}  // namespace zelmot::cli
