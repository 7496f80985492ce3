#include "platform/keyedfile/secret.h"

#include <openssl/crypto.h>

#include <cstring>
#include <utility>

namespace wevo::kf {

Secret::Secret(std::string_view text) : size_(text.size()) {
  if (size_ == 0) return;
  bytes_ = std::make_unique<char[]>(size_);
  std::memcpy(bytes_.get(), text.data(), size_);
}

Secret::Secret(Secret&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}

Secret& Secret::operator=(const Secret& other) {
  if (this != &other) *this = Secret(other);
  return *this;
}

Secret& Secret::operator=(Secret&& other) noexcept {
  if (this != &other) {
    wipe();
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

Secret::~Secret() { wipe(); }

void Secret::wipe() {
  if (bytes_ != nullptr) OPENSSL_cleanse(bytes_.get(), size_);
  bytes_.reset();
  size_ = 0;
}

void wipe(std::string& secret) {
  if (!secret.empty()) OPENSSL_cleanse(secret.data(), secret.size());
  secret.clear();
}

}  // namespace wevo::kf
