#include "platform/toolkit/binding_io.h"

#include <gtest/gtest.h>

#include <cstring>

namespace wevo::toolkit {
namespace {

#pragma pack(push, 1)
struct Packed {
  char tag;
  int32_t number;  // at offset 1: not aligned
  char text[6];
  uint32_t unsignedNumber;
  uint8_t byte;
};
#pragma pack(pop)

TEST(BindingIo, PackedFieldsAreReadAndWrittenWhereTheyLie) {
  Packed rec;
  std::memset(&rec, 0, sizeof rec);
  rec.tag = 'x';
  Binding n = Binding::long32(reinterpret_cast<char*>(&rec) + offsetof(Packed, number));
  Binding t = Binding::text(rec.text);
  Binding u = Binding::ulong32(reinterpret_cast<char*>(&rec) + offsetof(Packed, unsignedNumber));
  Binding b = Binding::byte(&rec.byte);

  writeBinding(n, Value(-123456));
  writeBinding(t, Value("ab"));
  writeBinding(u, Value(int64_t{4000000000}));
  writeBinding(b, Value(300));  // cut to a byte

  EXPECT_EQ(readBinding(n).num(), -123456);
  EXPECT_EQ(std::memcmp(rec.text, "ab    ", 6), 0);  // blank-padded to the width
  EXPECT_EQ(readBinding(t).str(), "ab");           // read without trailing blanks
  EXPECT_EQ(readBinding(u).num(), 4000000000);
  EXPECT_EQ(readBinding(b).num(), 300 % 256);
  EXPECT_EQ(rec.tag, 'x');  // the neighbours are untouched

  writeBinding(t, Value("too long text"));
  EXPECT_EQ(std::memcmp(rec.text, "too lo", 6), 0);
  writeBinding(n, Value("  77px"));  // text parsed as a number
  EXPECT_EQ(readBinding(n).num(), 77);
}

TEST(BindingIo, EqualityComparesNumbersAsNumbersAndTextWithoutBlanks) {
  int32_t v = 2;
  char s[8];
  std::memcpy(s, "A       ", 8);
  EXPECT_TRUE(bindingEquals(Binding::long32(&v), Value("2")));
  EXPECT_TRUE(bindingEquals(Binding::long32(&v), Value(2)));
  EXPECT_FALSE(bindingEquals(Binding::long32(&v), Value("3")));
  EXPECT_TRUE(bindingEquals(Binding::text(s), Value("A")));
  EXPECT_FALSE(bindingEquals(Binding::text(s), Value("a")));
  v = 0;
  EXPECT_TRUE(bindingEquals(Binding::long32(&v), Value("")));  // an empty value is zero for a number
}

TEST(BindingIo, UnboundReadsEmptyAndIgnoresWrites) {
  Binding none;
  EXPECT_EQ(readBinding(none).str(), "");
  writeBinding(none, Value(5));  // no crash, nothing written
  EXPECT_FALSE(none.bound());
}

}  // namespace
}  // namespace wevo::toolkit
