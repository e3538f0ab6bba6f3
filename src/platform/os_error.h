#pragma once
// Texts for operating-system error codes (errno values), in the user's language where the
// C library has one. Unlike strerror, safe to call from any thread.
#include <string>

namespace zelmot {

std::string osErrorText(int code);

// "<what>: <text of code>", the usual form of a failed system call's message.
std::string withOsError(const std::string& what, int code);

}  // namespace zelmot
