#include "platform/toolkit/binding_io.h"

#include <cstring>

#include "wevo/text.h"

namespace wevo::toolkit {

Value readBinding(const Binding& b) {
  if (b.data == nullptr) return Value();
  switch (b.kind) {
    case Binding::Kind::None:
      return Value();
    case Binding::Kind::Text:
      return Value(std::string(text::clip(text::field(static_cast<const char*>(b.data), b.width))));
    case Binding::Kind::Long: {
      int32_t v;
      std::memcpy(&v, b.data, sizeof v);
      return Value(static_cast<int64_t>(v));
    }
    case Binding::Kind::ULong: {
      uint32_t v;
      std::memcpy(&v, b.data, sizeof v);
      return Value(static_cast<int64_t>(v));
    }
    case Binding::Kind::Byte: {
      uint8_t v;
      std::memcpy(&v, b.data, sizeof v);
      return Value(static_cast<int64_t>(v));
    }
  }
  return Value();
}

void writeBinding(const Binding& b, const Value& v) {
  if (b.data == nullptr) return;
  switch (b.kind) {
    case Binding::Kind::None:
      return;
    case Binding::Kind::Text:
      text::assign(static_cast<char*>(b.data), b.width, v.str());
      return;
    case Binding::Kind::Long: {
      auto n = static_cast<int32_t>(static_cast<uint32_t>(v.num()));
      std::memcpy(b.data, &n, sizeof n);
      return;
    }
    case Binding::Kind::ULong: {
      auto n = static_cast<uint32_t>(v.num());
      std::memcpy(b.data, &n, sizeof n);
      return;
    }
    case Binding::Kind::Byte: {
      auto n = static_cast<uint8_t>(v.num());
      std::memcpy(b.data, &n, sizeof n);
      return;
    }
  }
}

bool bindingEquals(const Binding& b, const Value& v) {
  Value cur = readBinding(b);
  if (b.kind == Binding::Kind::Text) return text::sameClipped(cur.str(), v.str());
  return cur.num() == v.num();
}

}  // namespace wevo::toolkit
