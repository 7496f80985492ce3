// The tour as CI runs it: the real program plays every step offscreen, and
// its pictures and transcript show what the steps say.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "demo/tour_steps.h"
#include "tests/testing/base/temp_dir.h"

extern char** environ;

namespace wevo::demo {
namespace {

// Runs the program with the arguments and QT_QPA_PLATFORM=offscreen; its
// output goes to `log`. Returns the exit status, -1 when it did not exit.
int runProgram(std::vector<std::string> args, const std::string& log) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen"};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The transcript's lines, by section ("05-drag-test-button.png", "end").
std::map<std::string, std::vector<std::string>> sections(const std::string& transcript) {
  std::map<std::string, std::vector<std::string>> out;
  std::string current = "head";
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("== ", 0) == 0)
      current = line.substr(3);
    else if (!line.empty())
      out[current].push_back(line);
  }
  return out;
}

std::vector<std::string> linesStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& l : lines)
    if (l.rfind(prefix, 0) == 0) out.push_back(l);
  return out;
}

bool has(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& l : lines)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

// "place: ?BUTTON3:2 at 216,134 size 68x23" of the label in the section.
PixelRect place(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : linesStarting(lines, "place: " + label + " at ")) {
    PixelRect r;
    if (std::sscanf(l.c_str() + 7 + label.size(), " at %d,%d size %dx%d", &r.x, &r.y, &r.w, &r.h) == 4) return r;
  }
  ADD_FAILURE() << "no place of " << label;
  return {};
}

// The pixels of one colour (0xRRGGBB).
int pixelsOf(const QImage& image, QRgb rgb) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == rgb) ++n;
  return n;
}

// Pure red pixels: only the grab handles are drawn in it.
int redPixels(const QImage& image) { return pixelsOf(image, 0xFF0000); }

// Within a pixel or two: positions go through dialog units and back.
void expectNear(const PixelRect& got, const PixelRect& want) {
  EXPECT_NEAR(got.x, want.x, 2);
  EXPECT_NEAR(got.y, want.y, 2);
  EXPECT_NEAR(got.w, want.w, 2);
  EXPECT_NEAR(got.h, want.h, 2);
}

TEST(Tour, TheProgramWritesAPictureAndNotesForEveryStepAsTheStepSays) {
  wevo::testing::TempDir dir;
  const std::string out = dir.file("tour");
  ASSERT_EQ(runProgram({WEVODEMO_PROGRAM, "--tour", out}, dir.file("log.txt")), 0) << slurp(dir.file("log.txt"));

  const std::vector<TourStep> steps = tourSteps();
  std::map<std::string, QImage> pictures;
  for (size_t i = 0; i < steps.size(); ++i) {
    char name[80];
    std::snprintf(name, sizeof name, "%02zu-%s.png", i + 1, steps[i].name.c_str());
    QImage image(QString::fromStdString(out + "/" + name));
    EXPECT_FALSE(image.isNull()) << name;
    EXPECT_GT(image.width(), 100) << name;
    pictures[steps[i].name] = image;
  }
  const std::string transcript = slurp(out + "/transcript.txt");
  auto s = sections(transcript);
  for (size_t i = 0; i < steps.size(); ++i) {
    char name[80];
    std::snprintf(name, sizeof name, "%02zu-%s.png", i + 1, steps[i].name.c_str());
    ASSERT_TRUE(s.count(name)) << "no section for " << name << "\n" << transcript;
    EXPECT_EQ(s[name].front(), "says: " + steps[i].says);
    EXPECT_FALSE(has(s[name], "not reached")) << name;
    EXPECT_FALSE(has(s[name], "cannot read the store")) << name;
  }
  EXPECT_EQ(s["end"], (std::vector<std::string>{"result: the program ended normally"}));

  // The frame and the mode window need no store.
  EXPECT_EQ(linesStarting(s["01-frame.png"], "store:"), (std::vector<std::string>{"store: no change"}));
  EXPECT_EQ(linesStarting(s["02-select-mode.png"], "store:"), (std::vector<std::string>{"store: no change"}));
  // Opening in COLORS records the originals: the window and 21 controls.
  const auto& opened = s["03-control-window.png"];
  EXPECT_EQ(linesStarting(opened, "store: + ").size(), 22u);
  EXPECT_TRUE(has(opened, "Main / WEVO_ORIGINAL / ?BUTTON3:2: X 124, Y 70, WIDTH 45, HEIGHT 14, CONTROLTEXT 'Test'"));
  // Design mode gives every control a COLORS row.
  EXPECT_EQ(linesStarting(s["04-design-mode.png"], "store: + ").size(), 22u);
  EXPECT_TRUE(has(s["04-design-mode.png"], "Main / COLORS / ?TESTENTRY:"));
  // The drag and the resize each change one row, in place and in size.
  const auto& dragged = linesStarting(s["05-drag-test-button.png"], "store:");
  ASSERT_EQ(dragged.size(), 1u);
  EXPECT_NE(dragged[0].find("~ "), std::string::npos);
  EXPECT_NE(dragged[0].find("Main / COLORS / ?BUTTON3:2: X 124 -> "), std::string::npos) << dragged[0];
  EXPECT_NE(dragged[0].find(", Y 70 -> "), std::string::npos) << dragged[0];
  EXPECT_EQ(dragged[0].find("WIDTH"), std::string::npos) << dragged[0];
  const auto& widened = linesStarting(s["06-widen-entry.png"], "store:");
  ASSERT_EQ(widened.size(), 1u);
  EXPECT_NE(widened[0].find("Main / COLORS / ?TESTENTRY: WIDTH 90 -> "), std::string::npos) << widened[0];
  // Leaving asks, and the answer keeps everything.
  const std::string question =
      "dialog: message \"Wevo\" \"Do you want to save your changes?\" icon=question buttons=Yes|No default=Yes -> Yes";
  EXPECT_EQ(linesStarting(s["07-save-changes.png"], "dialog:"), (std::vector<std::string>{question}));
  EXPECT_EQ(linesStarting(s["15-demo-save.png"], "dialog:"), (std::vector<std::string>{question}));
  EXPECT_TRUE(linesStarting(s["05-drag-test-button.png"], "dialog:").empty());

  // Where the controls are: the drag's 30 by 20 pixels, the 40 pixels wider
  // entry, kept when COLORS opens again, and not in FLAT.
  const PixelRect button = place(opened, "?BUTTON3:2"), entry = place(opened, "?TESTENTRY");
  const PixelRect moved{button.x + 30, button.y + 20, button.w, button.h};
  const PixelRect wider{entry.x, entry.y, entry.w + 40, entry.h};
  EXPECT_EQ(place(s["05-drag-test-button.png"], "?BUTTON3:2"), moved);
  EXPECT_EQ(place(s["06-widen-entry.png"], "?TESTENTRY"), wider);
  expectNear(place(s["09-reopen-colors.png"], "?BUTTON3:2"), moved);
  expectNear(place(s["09-reopen-colors.png"], "?TESTENTRY"), wider);
  EXPECT_EQ(place(s["10-flat-beside.png"], "?BUTTON3:2"), button);
  EXPECT_EQ(place(s["10-flat-beside.png"], "?TESTENTRY"), entry);
  const PixelRect title = place(s["12-red-tab.png"], "?STRING:TITLE2");
  const PixelRect titleMoved{title.x + 40, title.y + 30, title.w, title.h};
  EXPECT_EQ(place(s["14-move-red-title.png"], "?STRING:TITLE2"), titleMoved);
  expectNear(place(s["16-demo-reopen.png"], "?STRING:TITLE2"), titleMoved);
  EXPECT_TRUE(has(s["14-move-red-title.png"], "store: ~ ") &&
              has(s["14-move-red-title.png"], "Main20 / COLORS / ?STRING:TITLE2: X 24 -> "));

  // The pictures: grab handles (pure red) in design mode and nowhere else.
  for (const char* design : {"design-mode", "drag-test-button", "widen-entry", "demo-design", "move-red-title"})
    EXPECT_GE(redPixels(pictures[design]), 8) << design;
  for (const char* plain : {"frame", "select-mode", "control-window", "save-changes", "reopen-colors",
                            "flat-beside", "demo-window", "red-tab", "demo-save", "demo-reopen"})
    EXPECT_EQ(redPixels(pictures[plain]), 0) << plain;
  // The same window in two modes, and before and after its changes, looks
  // different; reopened in COLORS it looks as it was left.
  EXPECT_EQ(pictures["control-window"].size(), pictures["flat-beside"].size());
  EXPECT_EQ(pictures["control-window"], pictures["flat-beside"]) << "FLAT shows the design";
  EXPECT_NE(pictures["control-window"], pictures["reopen-colors"]);
  EXPECT_NE(pictures["red-tab"], pictures["demo-reopen"]);

  // The design menu: each item names the control it was opened for and
  // leads to its window; the form's save shows on the button at once and the
  // reset takes it back.
  auto menu = [](const std::string& label, int item, const std::string& chosen) {
    return "dialog: popup \"Edit " + label + "|Show Processed Fields|Full Field List/Tab Order|Reset " + label +
           " to original|Quit Editing Mode\" -> " + std::to_string(item) + " \"" + chosen + "\"";
  };
  EXPECT_EQ(linesStarting(s["17-menu-edit-button.png"], "dialog:"),
            (std::vector<std::string>{menu("?BUTTON3:2", 1, "Edit ?BUTTON3:2")}));
  EXPECT_EQ(linesStarting(s["18-form-color.png"], "dialog:"),
            (std::vector<std::string>{"dialog: color \"Text Color\" -1 -> 255"}));
  EXPECT_EQ(linesStarting(s["19-form-saved.png"], "store:"),
            (std::vector<std::string>{"store: ~ 110 Main / TRANSPARENT / ?BUTTON3:2: CONTROLTEXT 'Test' -> 'Tested', "
                                      "TEXTCOLOR -1 -> 255"}));
  EXPECT_EQ(linesStarting(s["20-menu-edit-window.png"], "dialog:"),
            (std::vector<std::string>{menu("WINDOW", 1, "Edit WINDOW")}));
  EXPECT_EQ(linesStarting(s["21-control-list.png"], "dialog:"),
            (std::vector<std::string>{menu("WINDOW", 3, "Full Field List/Tab Order")}));
  EXPECT_EQ(linesStarting(s["23-browse.png"], "dialog:"),
            (std::vector<std::string>{menu("WINDOW", 2, "Show Processed Fields")}));
  EXPECT_EQ(linesStarting(s["24-reset-original.png"], "dialog:"),
            (std::vector<std::string>{menu("?BUTTON3:2", 4, "Reset ?BUTTON3:2 to original")}));
  EXPECT_EQ(linesStarting(s["24-reset-original.png"], "store:"),
            (std::vector<std::string>{"store: ~ 110 Main / TRANSPARENT / ?BUTTON3:2: CONTROLTEXT 'Tested' -> 'Test', "
                                      "TEXTCOLOR 255 -> -1"}));
  EXPECT_EQ(linesStarting(s["25-menu-save.png"], "dialog:"), (std::vector<std::string>{question}));
  // The form for the button and for the window, and the list on both tabs, are
  // different pictures; the live button in red differs from the reset one.
  EXPECT_NE(pictures["menu-edit-button"], pictures["menu-edit-window"]);
  EXPECT_NE(pictures["menu-edit-button"], pictures["form-color"]);
  EXPECT_NE(pictures["control-list"], pictures["tab-order"]);
  EXPECT_NE(pictures["form-saved"], pictures["reset-original"]);
  EXPECT_EQ(redPixels(pictures["menu-save"]), 0);
}

// Magenta pixels: only the guide lines are drawn in it.
int magentaPixels(const QImage& image) { return pixelsOf(image, 0xFF00FF); }

TEST(Tour, WithDesignerExtrasItShowsUndoAlignmentAndSnapping) {
  wevo::testing::TempDir dir;
  const std::string out = dir.file("tour");
  ASSERT_EQ(runProgram({WEVODEMO_PROGRAM, "--tour", out, "--designer-extras"}, dir.file("log.txt")), 0)
      << slurp(dir.file("log.txt"));
  const std::vector<TourStep> steps = tourSteps(true);
  ASSERT_EQ(steps.size(), tourSteps().size() + designerExtrasTour().size());
  std::map<std::string, std::string> file;  // step name -> "NN-name.png"
  for (size_t i = 0; i < steps.size(); ++i) {
    char name[80];
    std::snprintf(name, sizeof name, "%02zu-%s.png", i + 1, steps[i].name.c_str());
    file[steps[i].name] = name;
  }
  const std::string transcript = slurp(out + "/transcript.txt");
  auto s = sections(transcript);
  for (const auto& [step, name] : file) EXPECT_FALSE(has(s[name], "not reached")) << name;
  EXPECT_EQ(s["end"], (std::vector<std::string>{"result: the program ended normally"}));
  auto picture = [&](const std::string& step) { return QImage(QString::fromStdString(out + "/" + file[step])); };

  // The drag and its undo: the row goes back to the designed place, and so does the button.
  const PixelRect dragged = place(s[file["extras-drag"]], "?BUTTON3:2");
  EXPECT_EQ(place(s[file["extras-undo"]], "?BUTTON3:2"), (PixelRect{dragged.x - 40, dragged.y - 10, dragged.w, dragged.h}));
  const std::vector<std::string> undone = linesStarting(s[file["extras-undo"]], "store:");
  ASSERT_EQ(undone.size(), 1u);
  EXPECT_NE(undone[0].find("Main / FLAT / ?BUTTON3:2: X "), std::string::npos) << undone[0];
  EXPECT_NE(undone[0].find(" -> 124, Y "), std::string::npos) << undone[0];
  EXPECT_NE(undone[0].find(" -> 70"), std::string::npos) << undone[0];

  // Three selected, aligned on the top of "OK" with one command.
  EXPECT_GE(redPixels(picture("extras-select-several")), 8);
  const auto& aligned = s[file["extras-align-tops"]];
  EXPECT_TRUE(has(aligned, "|Quit Editing Mode|-|Align{Lefts|Rights|Tops|") && has(aligned, "-> 8 \"Tops\""));
  const PixelRect ok = place(aligned, "?OKBUTTON");
  EXPECT_EQ(place(aligned, "?BUTTON3").y, ok.y);
  EXPECT_EQ(place(aligned, "?TESTCHECK").y, ok.y);
  EXPECT_TRUE(has(aligned, "store: ~ ") && has(aligned, "?BUTTON3: Y 168 -> 212") &&
              has(aligned, "?TESTCHECK: Y 170 -> 212"));

  // "Cancel" snapped to the top of "OK", with a guide line while dragged, none after.
  EXPECT_EQ(place(s[file["extras-snap"]], "?CANCELBUTTON").y, ok.y);
  EXPECT_GT(magentaPixels(picture("extras-snap")), 100);
  EXPECT_EQ(magentaPixels(picture("extras-save")), 0);
  EXPECT_TRUE(has(s[file["extras-save"]], "Main / FLAT / ?CANCELBUTTON: X 338 -> "));
}

}  // namespace
}  // namespace wevo::demo
