#pragma once
// Texts of the error codes a device sends in the first data byte of an "n.Err" reply.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zelmot::link {

// True and the text when the code has one; false (text untouched) otherwise.
bool error_text_for_code(uint8_t code, std::string& text);

// Fills the text for the first data byte of an error reply. With no data bytes, or a code
// without a text, the text is left as it was.
void describe_error_reply(const uint8_t* data, size_t length, std::string& text);

}  // namespace zelmot::link
