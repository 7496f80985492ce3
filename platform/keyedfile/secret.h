// A password held in memory. Its bytes live in one block of their own that
// is overwritten when the value dies or is replaced, so a password passed
// from the host's settings down to the file leaves no readable copies behind
// (a std::string may move its bytes and leave the old ones where they were).
#ifndef WEVO_PLATFORM_KEYEDFILE_SECRET_H_
#define WEVO_PLATFORM_KEYEDFILE_SECRET_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace wevo::kf {

class Secret {
 public:
  Secret() = default;
  explicit Secret(std::string_view text);
  Secret(const Secret& other) : Secret(other.view()) {}
  Secret(Secret&& other) noexcept;
  Secret& operator=(const Secret& other);
  Secret& operator=(Secret&& other) noexcept;
  ~Secret();

  std::string_view view() const { return {bytes_.get(), size_}; }
  bool empty() const { return size_ == 0; }
  bool operator==(const Secret& other) const { return view() == other.view(); }

 private:
  void wipe();

  std::unique_ptr<char[]> bytes_;
  size_t size_ = 0;
};

// Overwrites a string's bytes and empties it, for the few texts made from a
// secret (a key in SQLCipher's raw form) that must be strings.
void wipe(std::string& secret);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_SECRET_H_
