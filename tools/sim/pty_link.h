#pragma once
// The --link symlink that names the pseudo-terminal's slave. A link to a live terminal
// belongs to a running simulator (or to someone's terminal) and is never taken over, or a
// host would lose the device it is talking to; a stale link, whose terminal is gone, is
// replaced.
#include <string>

namespace zelmot::sim {

// Makes `linkPath` point to `slavePath`; false with a message when the path is taken.
bool claimPtyLink(const std::string& linkPath, const std::string& slavePath, std::string& error);

// Removes the link when it still points to this simulator's slave.
void releasePtyLink(const std::string& linkPath, const std::string& slavePath);

}  // namespace zelmot::sim
