// SHA-256 for the keyed-file layer's own bookkeeping (which connection a
// password opened, which derived key a password gives): one home, so that
// every digest is made the same way and its failure handled the same way.
#ifndef WEVO_PLATFORM_KEYEDFILE_DIGEST_H_
#define WEVO_PLATFORM_KEYEDFILE_DIGEST_H_

#include <array>
#include <initializer_list>
#include <string_view>

namespace wevo::kf {

using Sha256 = std::array<unsigned char, 32>;

// The SHA-256 of the parts one after another. False (and `out` unspecified)
// when the digest could not be made; callers must not treat that as a match.
bool sha256(std::initializer_list<std::string_view> parts, Sha256& out);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_DIGEST_H_
