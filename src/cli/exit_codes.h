#pragma once
// Exit status of zelmot-cli.
namespace zelmot::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailures = 1;  // finished, but some parameters failed or differ
inline constexpr int kExitUsage = 2;     // bad usage, unreadable or invalid file
inline constexpr int kExitNoLink = 3;    // the device did not answer at all

}  // namespace zelmot::cli
