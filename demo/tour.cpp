#include "demo/tour.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "demo/control_window.h"
#include "demo/demo_settings.h"
#include "demo/demo_state.h"
#include "demo/demo_window.h"
#include "demo/frame.h"
#include "demo/install_layout.h"
#include "demo/store_rows.h"
#include "demo/tour_steps.h"
#include "platform/base/mutex.h"
#include "wevo/qt_view.h"
#include "wevo/toolkit.h"

namespace wevo::demo {

namespace fs = std::filesystem;

namespace {

struct StepRecord {
  bool taken = false;
  std::vector<std::string> places;
  std::vector<std::string> store;
};

// What the steps' call-backs note, on the sample threads, for the
// transcript written once the program has ended.
struct Recorder {
  explicit Recorder(std::string store) : storePath(std::move(store)) {}
  const std::string storePath;
  base::Mutex mu;
  std::vector<StepRecord> steps GUARDED_BY(mu);
  StoreRows last GUARDED_BY(mu);
  bool storeFailed GUARDED_BY(mu) = false;
};

PixelRect pixelRect(Window& w, int field) {
  const int64_t mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 1);
  PixelRect r{w.get(field, PROP::XPos).i32(), w.get(field, PROP::YPos).i32(), w.get(field, PROP::Width).i32(),
              w.get(field, PROP::Height).i32()};
  w.set(0, PROP::Pixels, mode);
  return r;
}

std::string describePlace(const std::string& label, const PixelRect& r) {
  char buf[96];
  std::snprintf(buf, sizeof buf, " at %d,%d size %dx%d", r.x, r.y, r.w, r.h);
  return label + buf;
}

std::string pictureName(size_t index, const TourStep& step) {
  char number[8];
  std::snprintf(number, sizeof number, "%02zu", index + 1);
  return std::string(number) + "-" + step.name + ".png";
}

}  // namespace

bool MeasurePlaces(const ViewFactory& view, TourPlaces& places, std::ostream& log) {
  RunOptions options;
  options.view = view;
  ProgramResult r = run(
      [&] {
        for (const SampleKind* kind : {&controlWindowKind(), &demoWindowKind()}) {
          SampleVars vars;
          WindowDecl decl = kind->decl(vars);
          decl.hidden = true;
          Window w(decl);
          w.open();
          for (int f = w.firstField(); f != 0 && f <= w.lastField(); ++f)
            if (w.exists(f) && !w.label(f).empty()) places.set(kind->caption, w.label(f), pixelRect(w, f));
          w.close();
        }
      },
      options);
  if (r.failed || r.halted) {
    log << "tour: measuring the sample windows failed\n" << describe(r);
    return false;
  }
  return true;
}

namespace {

// After a step, on the thread of the window it pictured: where the watched
// controls are, and every row the step added, changed or removed.
void noteStep(Recorder& rec, DemoState& state, size_t index, const TourStep& step, const std::string& password) {
  StepRecord r;
  r.taken = true;
  if (!step.watch.empty()) {
    if (Window* w = state.find(step.window)) {
      for (const std::string& label : step.watch)
        r.places.push_back(describePlace(label, pixelRect(*w, w->fieldOf(label))));
    } else {
      r.places.push_back("(no window \"" + step.window + "\" on this thread)");
    }
  }
  base::MutexLock lock(rec.mu);
  StoreReading now = readStoreRows(rec.storePath, password);
  if (now.ok) {
    r.store = describeChanges(rec.last, now.rows);
    rec.last = std::move(now.rows);
  } else {
    r.store.push_back("cannot read the store: " + now.error);
    rec.storeFailed = true;
  }
  rec.steps[index] = std::move(r);
}

// Leaves nothing of an earlier tour in the folder: its store, pictures and
// transcript.
void clearFolder(const fs::path& dir) {
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    const std::string name = e.path().filename().string();
    const bool store = name.rfind(std::string(kTourProgramName) + ".wevo", 0) == 0;
    const bool picture = name.size() > 7 && name[0] >= '0' && name[0] <= '9' && name[1] >= '0' &&
                         name[1] <= '9' && name[2] == '-' && e.path().extension() == ".png";
    if (store || picture || name == kTranscriptName) fs::remove(e.path(), ec);
  }
}

void writeTranscript(const fs::path& file, const std::vector<TourStep>& steps, const Recorder& rec,
                     const ProgramResult& result, const std::string& storePath) REQUIRES(rec.mu) {
  // The program's transcript holds every dialog and every picture in the
  // order they came: a step's dialogs come before its picture.
  std::vector<std::vector<std::string>> dialogs(steps.size() + 1);
  size_t pictures = 0;
  for (const std::string& line : result.transcript) {
    if (line.rfind("screenshot ", 0) == 0)
      ++pictures;
    else
      dialogs[std::min(pictures, steps.size())].push_back(line);
  }
  std::ofstream out(file);
  out << "wevodemo tour: " << steps.size() << " steps\n";
  out << "store: " << storePath << " (protected with the demonstration's password), read with the sqlcipher "
      << "shell after every step\n";
  out << "lines: \"dialog:\" a dialog shown and its answer; \"place:\" a control's place in pixels of its "
      << "window's client area; \"store:\" a row added (+), changed (~) or removed (-), by UID, procedure, "
      << "marker and label\n";
  for (size_t i = 0; i < steps.size(); ++i) {
    const StepRecord& r = rec.steps[i];
    out << "\n== " << pictureName(i, steps[i]) << "\n";
    out << "says: " << steps[i].says << "\n";
    for (const std::string& d : dialogs[i]) out << "dialog: " << d << "\n";
    if (!r.taken) {
      out << "not reached\n";
      continue;
    }
    for (const std::string& p : r.places) out << "place: " << p << "\n";
    if (r.store.empty()) out << "store: no change\n";
    for (const std::string& s : r.store) out << "store: " << s << "\n";
  }
  out << "\n== end\n";
  for (const std::string& d : dialogs[steps.size()]) out << "dialog: " << d << "\n";
  if (result.failed || result.halted)
    out << "result: " << describe(result);
  else
    out << "result: the program ended normally\n";
}

}  // namespace

int RunTour(const std::string& folder, std::ostream& log, bool designerExtras) {
  std::error_code ec;
  const fs::path dir = fs::absolute(folder, ec);
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir)) {
    log << "tour: cannot make the folder " << folder << "\n";
    return 1;
  }
  clearFolder(dir);

  TourPlaces places;
  if (!MeasurePlaces(qtView(), places, log)) return 1;

  const std::vector<TourStep> steps = tourSteps(designerExtras);
  auto rec = std::make_shared<Recorder>((dir / (std::string(kTourProgramName) + ".wevo")).string());
  {
    base::MutexLock lock(rec->mu);
    rec->steps.resize(steps.size());
  }
  auto state = std::make_shared<DemoState>();
  const std::string password(text::clip(kPasswordLiteral));

  Script script;
  for (size_t i = 0; i < steps.size(); ++i) {
    const TourStep& step = steps[i];
    step.act(script, places);
    script.screenshot(pictureName(i, step), step.window);
    script.call([rec, state, i, step, password] { noteStep(*rec, *state, i, step, password); }, step.window);
    if (step.then) step.then(script, places);
  }
  tourEnding(script);

  RunOptions options;
  options.view = qtView({.screenshotDir = dir.string(), .imageDir = pictureFolder()});
  options.script = &script;
  options.args = {(dir / kTourProgramName).string(), "--tour", dir.string()};
  if (designerExtras) options.args.push_back("--designer-extras");
  ProgramResult result = run([state] { DemoProgram(state); }, options);

  base::MutexLock lock(rec->mu);
  writeTranscript(dir / kTranscriptName, steps, *rec, result, rec->storePath);
  bool ok = !result.failed && !result.halted && !rec->storeFailed;
  if (result.failed || result.halted) log << "tour: " << describe(result);
  if (rec->storeFailed) log << "tour: the store could not be read after every step (see the transcript)\n";
  for (size_t i = 0; i < steps.size(); ++i) {
    if (!fs::is_regular_file(dir / pictureName(i, steps[i]))) {
      log << "tour: no picture " << pictureName(i, steps[i]) << "\n";
      ok = false;
    }
  }
  log << "tour: " << steps.size() << " pictures and " << kTranscriptName << " are in " << dir.string() << "\n";
  return ok ? 0 : 1;
}

}  // namespace wevo::demo
