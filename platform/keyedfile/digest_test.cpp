#include "platform/keyedfile/digest.h"

#include <gtest/gtest.h>

#include <string>

namespace wevo::kf {
namespace {

std::string hex(const Sha256& d) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (unsigned char c : d) {
    s += kDigits[c >> 4];
    s += kDigits[c & 0xf];
  }
  return s;
}

// The digest is SHA-256 itself (the published value of "abc"), and parts are
// one text however they are cut, so the keys made from it never depend on
// how a caller split its input.
TEST(Digest, IsSha256OfThePartsOneAfterAnother) {
  Sha256 whole{}, cut{}, empty{};
  ASSERT_TRUE(sha256({"abc"}, whole));
  EXPECT_EQ(hex(whole), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  ASSERT_TRUE(sha256({"a", "", "bc"}, cut));
  EXPECT_EQ(cut, whole);
  ASSERT_TRUE(sha256({}, empty));
  EXPECT_EQ(hex(empty), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
}  // namespace wevo::kf
