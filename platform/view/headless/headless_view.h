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
// What it was sent is on the toolkit's own record of the screen, where tests
// look; it keeps nothing of it. A screenshot step saves nothing.
#ifndef WEVO_PLATFORM_VIEW_HEADLESS_HEADLESS_VIEW_H_
#define WEVO_PLATFORM_VIEW_HEADLESS_HEADLESS_VIEW_H_

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/view/view.h"

namespace wevo::toolkit {

class HeadlessView : public View {
 public:
  // The view of a program, which takes the scripted user's input steps.
  explicit HeadlessView(ViewHost& host) : host_(&host) {}
  // A view on its own, for measuring: it delivers no step.
  HeadlessView() = default;

  void run() override;
  void quit() override;
  bool hasPerson() const override { return false; }
  void update(const std::vector<ViewUpdate>& batch) override;
  FontMetrics metrics(const FontDesc& font) override;
  int textWidth(const FontDesc& font, std::string_view text) override;
  std::vector<FontFace> fonts() override;
  DialogResult dialog(const DialogRequest& request, const ScriptStep* step) override;
  bool deliver(const ResolvedStep& step, std::string& why) override;

  // The fixed metrics, for code that measures without a view.
  static FontMetrics fixedMetrics(int size);

 private:
  ViewHost* host_ = nullptr;
  std::mutex mu_;
  std::condition_variable cv_;
  bool quit_ = false;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_VIEW_HEADLESS_HEADLESS_VIEW_H_
