// The headless view: no pixels, for tests and the scripted user.
//
// Font metrics are fixed and the same for every face: the average character
// width is round(size * 0.75) pixels and the height round(size * 1.625)
// pixels, so "MS Sans Serif" 8 measures 6 x 13 and one dialog unit is 1.5
// pixels across and 1.625 pixels down. Style does not change them. A line of
// text is as wide as its characters times the average width; a single "&"
// (a shortcut mark) takes no room and "&&" counts as one character.
//
// Fonts: a fixed list of faces, some in several character sets, one not
// scalable:
//   Arial (charsets 0, 161, 204), Courier New (0), MS Sans Serif (0, not
//   scalable), Symbol (2), Tahoma (0), Times New Roman (0, 238).
//
// It keeps a copy of everything it was sent (screen()) so tests can assert
// what reached the view, counts repaints and beeps, and records screenshot
// steps in the transcript ("screenshot "name" "caption"").
#ifndef WEVO_PLATFORM_VIEW_HEADLESS_HEADLESS_VIEW_H_
#define WEVO_PLATFORM_VIEW_HEADLESS_HEADLESS_VIEW_H_

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/view/common/screen.h"
#include "platform/view/view.h"

namespace wevo::toolkit {

class HeadlessView : public View {
 public:
  HeadlessView() = default;

  // The headless view of the running program, or nullptr.
  static HeadlessView* running();

  void run() override;
  void quit() override;
  bool hasPerson() const override { return false; }
  void update(const std::vector<ViewUpdate>& batch) override;
  FontMetrics metrics(const FontDesc& font) override;
  int textWidth(const FontDesc& font, std::string_view text) override;
  std::vector<FontFace> fonts() override;
  DialogResult dialog(const DialogRequest& request, const ScriptStep* step) override;
  void setCursor(std::string_view cursor) override;
  void setCapture(int64_t window) override;
  void invalidate(int64_t window, bool erase) override;
  void beep() override { ++beeps_; }
  void announce(int64_t window, int field, std::string_view description) override {
    screen_.noteAnnouncement(window, field, description);
  }
  bool deliver(const ResolvedStep& step, std::string& why) override;

  const Screen& screen() const { return screen_; }
  int beeps() const { return beeps_.load(); }
  int updateBatches() const { return batches_.load(); }

  // The fixed metrics, for code that measures without a view.
  static FontMetrics fixedMetrics(int size);

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  bool quit_ = false;
  Screen screen_;
  std::atomic<int> beeps_{0};
  std::atomic<int> batches_{0};
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_VIEW_HEADLESS_HEADLESS_VIEW_H_
