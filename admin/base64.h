// Base64 (RFC 4648, standard alphabet, with padding) for the bytes a layout
// file carries: image blobs and texts that are not UTF-8.
#ifndef WEVO_ADMIN_BASE64_H_
#define WEVO_ADMIN_BASE64_H_

#include <optional>
#include <string>
#include <string_view>

namespace wevo::admin {

std::string base64Encode(std::string_view bytes);

// The bytes, or nullopt when `text` is not canonical base64: a character
// outside the alphabet (white space included), a length that is not a
// multiple of 4, padding anywhere but at the end, or bits set after the last
// byte. Only the form base64Encode writes is read back, so one set of bytes
// has exactly one text.
std::optional<std::string> base64Decode(std::string_view text);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_BASE64_H_
