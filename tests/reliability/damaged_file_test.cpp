// Damaged files: a real store, cut short, with bits flipped in its header
// and pages, pages zeroed or filled with garbage, garbage appended or left
// behind as a journal, opened through the library by a program that
// customises windows and stores a control. No run crashes or hangs (each runs
// in a child process with a time limit), and each comes to an outcome the
// store defines: it goes on, it reports through the store's messages and goes
// on, or it ends in order with the open-with-recovery path's text.
//
// Short form: 300 mutations; long form (WEVO_RELIABILITY=long): 10,000.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/test_store.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/child_process.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/reliability_form.h"
#include "tests/reliability/store_check.h"
#include "tests/reliability/store_outcome.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::reliability {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPassword = "damaged file password";
constexpr int kPage = 4096;
constexpr int kControls = 20;
constexpr int kSlots = 2;  // children at work at once

// The windows the seed store customises, and the marker of their overrides.
std::string seedProcedure(int n) { return "SeedWindow" + std::to_string(n); }

// In a child: a program that makes a real store: three windows' original
// rows and a few placements of each.
int makeSeed(const std::string& folder, const std::string& password) {
  ProgramResult r = run(
      [&] {
        for (int n = 1; n <= 3; ++n) {
          Window w(windowOf(seedProcedure(n), kControls));
          w.open();
          WEVOSETTINGS settings = settingsFor(folder, password);
          WEVO::SETWINDOWCONTROLS(w, seedProcedure(n), "Desk", settings);
          for (int field = 1; field <= kControls; field += 4) {
            w.set(0, PROP::Pixels, 0);
            w.setPosition(field, 5 * field, 3 * field, 30, 12);
            apply::StoreControlPlacement(field, w, seedProcedure(n), "Desk", controlLabel(field));
          }
        }
      },
      programOptions(answeringView()));
  return r.failed || r.halted || !r.transcript.empty() ? 1 : 0;
}

// ---- Mutations --------------------------------------------------------------

struct Mutation {
  std::string kind;
  std::string store;    // the file's bytes
  std::string journal;  // a journal left beside it; empty: none
};

int randomIn(std::mt19937& rng, int low, int high) {  // low..high inclusive
  return low + static_cast<int>(rng() % static_cast<unsigned>(high - low + 1));
}

std::string garbage(std::mt19937& rng, size_t n) {
  std::string out(n, '\0');
  for (char& c : out) c = static_cast<char>(rng() & 0xff);
  return out;
}

// One change of `bytes` of the kind numbered `kind`; its name is added to `name`.
void damage(std::string& bytes, int kind, std::mt19937& rng, std::string& name) {
  const int size = static_cast<int>(bytes.size());
  const int pages = size / kPage;
  auto pageStart = [&] { return pages > 0 ? randomIn(rng, 0, pages - 1) * kPage : 0; };
  switch (kind) {
    case 0:
      bytes.resize(static_cast<size_t>(randomIn(rng, 0, size > 0 ? size - 1 : 0)));
      name += "truncated";
      break;
    case 1:
      bytes.resize(static_cast<size_t>(randomIn(rng, 0, pages > 0 ? pages - 1 : 0) * kPage));
      name += "truncated at a page";
      break;
    case 2:
      for (int i = randomIn(rng, 1, 8); i > 0 && size > 0; --i)
        bytes[static_cast<size_t>(randomIn(rng, 0, std::min(size, 100) - 1))] ^= static_cast<char>(1 << (rng() % 8));
      name += "header bits flipped";
      break;
    case 3: {
      const int start = pageStart();
      for (int i = randomIn(rng, 1, 8); i > 0 && size > 0; --i)
        bytes[static_cast<size_t>(std::min(size - 1, start + randomIn(rng, 0, kPage - 1)))] ^=
            static_cast<char>(randomIn(rng, 1, 255));
      name += "page bytes flipped";
      break;
    }
    case 4: {
      const int start = pageStart();
      for (int i = start; i < std::min(size, start + kPage); ++i) bytes[static_cast<size_t>(i)] = '\0';
      name += "page zeroed";
      break;
    }
    case 5: {
      const int start = pageStart();
      const std::string junk = garbage(rng, kPage);
      for (int i = start; i < std::min(size, start + kPage); ++i) bytes[static_cast<size_t>(i)] = junk[static_cast<size_t>(i - start)];
      name += "page of garbage";
      break;
    }
    case 6: {
      const int n = randomIn(rng, 1, 64);
      const int start = randomIn(rng, 0, std::max(0, size - n));
      const std::string junk = garbage(rng, static_cast<size_t>(n));
      for (int i = 0; i < n && start + i < size; ++i) bytes[static_cast<size_t>(start + i)] = junk[static_cast<size_t>(i)];
      name += "garbage run";
      break;
    }
    case 7:
      bytes += garbage(rng, static_cast<size_t>(randomIn(rng, 1, 2 * kPage)));
      name += "garbage appended";
      break;
    case 8:
      if (pages >= 2) {
        const int a = randomIn(rng, 0, pages - 1) * kPage, b = randomIn(rng, 0, pages - 1) * kPage;
        for (int i = 0; i < kPage; ++i) std::swap(bytes[static_cast<size_t>(a + i)], bytes[static_cast<size_t>(b + i)]);
      }
      name += "pages swapped";
      break;
    default:
      bytes = garbage(rng, bytes.size());
      name += "all garbage";
      break;
  }
}

Mutation mutate(const std::string& seed, std::mt19937& rng) {
  Mutation m;
  m.store = seed;
  const int kind = randomIn(rng, 0, 11);
  if (kind <= 9) {
    damage(m.store, kind, rng, m.kind);
  } else if (kind == 10) {
    // A journal nobody holds beside an intact store: garbage, or the head of
    // the store itself.
    m.journal = rng() % 2 ? garbage(rng, static_cast<size_t>(randomIn(rng, 1, 3 * kPage)))
                          : seed.substr(0, static_cast<size_t>(randomIn(rng, 1, 3 * kPage)));
    m.kind = "journal left behind";
  } else {
    const int n = randomIn(rng, 2, 4);
    m.kind = "several: ";
    for (int i = 0; i < n; ++i) {
      if (i > 0) m.kind += " + ";
      damage(m.store, randomIn(rng, 2, 8), rng, m.kind);
    }
  }
  return m;
}

// ---- The program that meets the damaged store --------------------------------

// In a child: customises a seed window, stores a control, opens the window
// again. Says which outcome it came to ("<outcome number>\t<why>").
int meetDamagedStore(const std::string& folder, const std::string& password, bool rebuildKeys, const Pipe& out) {
  ProgramResult r = run(
      [&] {
        WEVOSETTINGS settings = settingsFor(folder, password);
        {
          Window w(windowOf(seedProcedure(2), kControls));
          w.open();
          WEVO::SETWINDOWCONTROLS(w, seedProcedure(2), "Desk", settings);
          w.set(0, PROP::Pixels, 0);
          w.setPosition(3, 44, 33, 30, 12);
          apply::StoreControlPlacement(3, w, seedProcedure(2), "Desk", controlLabel(3));
        }
        Window again(windowOf(seedProcedure(2), kControls));
        again.open();
        WEVO::SETWINDOWCONTROLS(again, seedProcedure(2), "Desk", settings);
      },
      programOptions(answeringView({.retryNumbering = false, .rebuildKeys = rebuildKeys})));
  std::string why;
  const Outcome outcome = outcomeOf(r, &why);
  out.writeLine(std::to_string(static_cast<int>(outcome)) + "\t" + why);
  return 0;
}

struct Seed {
  std::string name;
  std::string bytes;
  std::string password;  // the store's
  std::string given;     // what the program passes
};

// One slot's run: the mutated store in its own folder, the child meeting it.
struct Slot {
  std::unique_ptr<wevo::testing::TempDir> dir;
  std::unique_ptr<Pipe> pipe;
  std::unique_ptr<Child> child;
  std::string described;
  int index = 0;
  Mutation mutation;
};

TEST(DamagedFiles, EveryMutationOfARealStoreEndsInADefinedOutcome) {
  const int mutations = scaled(300, 10000);
  std::vector<Seed> seeds;
  for (const auto& [name, password] : {std::pair<std::string, std::string>{"protected", kPassword}, {"plain", ""}}) {
    wevo::testing::TempDir dir;
    Child maker([&, pw = password] { return makeSeed(dir.path(), pw); });
    ASSERT_TRUE(maker.wait(120 * 1000).ok());
    const std::string path = storePathIn(dir.path());
    ASSERT_EQ(integrityCheck(path, password), "ok");
    // Read here once: children inherit the derived key of the seed's salt.
    ASSERT_TRUE(readStore(path, password).ok);
    seeds.push_back({name, store::testing::fileBytes(path), password, password});
  }
  // A plain store meeting a program that now passes a password is protected
  // first: the protection copy reads the damaged store.
  seeds.push_back({"plain, password given", seeds[1].bytes, "", kPassword});

  // WEVO_RELIABILITY_FROM=N starts at mutation N, to look again at one that failed.
  const char* from = std::getenv("WEVO_RELIABILITY_FROM");
  const int firstMutation = from != nullptr ? std::atoi(from) : 0;
  std::mt19937 rng(31337);
  std::map<std::string, int> outcomes;
  std::map<std::string, int> kinds;
  int undefinedShown = 0;
  std::vector<Slot> slots(kSlots);
  auto finish = [&](Slot& slot) {
    if (!slot.child) return;
    ChildEnd end = slot.child->wait(longForm() ? 60 * 1000 : 30 * 1000);
    std::string said = slot.pipe->readAll();
    std::string outcome = "undefined";
    std::string why = end.describe();
    if (end.ok()) {
      const size_t tab = said.find('\t');
      const int number = tab == std::string::npos ? -1 : std::atoi(said.substr(0, tab).c_str());
      if (number >= 0 && number <= static_cast<int>(Outcome::kUndefined)) {
        outcome = nameOf(static_cast<Outcome>(number));
        why = said.substr(tab + 1);
      }
    }
    ++outcomes[outcome];
    if (outcome == "undefined" && ++undefinedShown <= 20)
      ADD_FAILURE() << slot.described << ": " << why;
    // WEVO_RELIABILITY_KEEP=DIR keeps each such store (and journal), as the
    // mutation made it, there as mutation-N.wevo.
    if (const char* keep = std::getenv("WEVO_RELIABILITY_KEEP"); keep != nullptr && outcome == "undefined") {
      const std::string to = std::string(keep) + "/mutation-" + std::to_string(slot.index) + ".wevo";
      wevo::testing::writeFileBytes(to, slot.mutation.store);
      if (!slot.mutation.journal.empty()) wevo::testing::writeFileBytes(to + "-journal", slot.mutation.journal);
    }
    slot.child.reset();
    slot.pipe.reset();
    slot.dir.reset();
  };
  const auto began = Clock::now();
  for (int i = 0; i < mutations; ++i) {
    const Seed& seed = seeds[static_cast<size_t>(rng() % 10 < 4 ? 0 : rng() % 10 < 8 ? 1 : 2)];
    Mutation m = mutate(seed.bytes, rng);
    if (i < firstMutation) {  // passed over: the random numbers it would use are drawn all the same
      rng();
      continue;
    }
    Slot& slot = slots[static_cast<size_t>(i % kSlots)];
    finish(slot);
    ++kinds[m.kind.rfind("several", 0) == 0 ? "several" : m.kind];
    slot.dir = std::make_unique<wevo::testing::TempDir>();
    const std::string path = storePathIn(slot.dir->path());
    ASSERT_TRUE(wevo::testing::writeFileBytes(path, m.store));
    if (!m.journal.empty()) {
      ASSERT_TRUE(wevo::testing::writeFileBytes(path + "-journal", m.journal));
    }
    const bool rebuildKeys = rng() % 4 != 0;
    slot.index = i;
    slot.mutation = m;
    slot.described = "mutation " + std::to_string(i) + " (" + seed.name + ", " + m.kind + ", " +
                     std::to_string(m.store.size()) + " bytes" + (rebuildKeys ? "" : ", keys not rebuilt") + ")";
    slot.pipe = std::make_unique<Pipe>();
    const std::string folder = slot.dir->path();
    const Pipe& pipe = *slot.pipe;
    slot.child = std::make_unique<Child>(
        [&, folder, rebuildKeys] { return meetDamagedStore(folder, seed.given, rebuildKeys, pipe); });
    slot.pipe->closeWrite();
  }
  for (Slot& slot : slots) finish(slot);
  const double seconds = std::chrono::duration<double>(Clock::now() - began).count();

  EXPECT_EQ(outcomes["undefined"], 0);
  int total = 0;
  for (const auto& [name, n] : outcomes) total += n;
  EXPECT_EQ(total, mutations - std::min(firstMutation, mutations));
  EXPECT_GT(outcomes["went on"] + outcomes["reported and went on"], 0);
  EXPECT_GT(outcomes["ended in order"], 0);
  std::string summary, kindSummary;
  for (const auto& [name, n] : outcomes) summary += (summary.empty() ? "" : ", ") + name + " " + std::to_string(n);
  for (const auto& [name, n] : kinds) kindSummary += (kindSummary.empty() ? "" : ", ") + name + " " + std::to_string(n);
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.1f", seconds);
  reportFigure("damaged files: outcomes of " + std::to_string(mutations) + " mutations in " + rate + " s", summary);
  reportFigure("damaged files: mutations by kind", kindSummary);
}

// Two pages of a real store swapped can make a seek answer with a row that
// a walk has passed; the walk must then end with an error instead of going
// round for ever (the protection copy walked such a store until it was
// killed). Every pair of pages, in key and insertion order, both ways.
TEST(DamagedFiles, EverySwapOfTwoPagesEndsEveryWalk) {
  wevo::testing::TempDir seedDir;
  Child maker([&] { return makeSeed(seedDir.path(), ""); });
  ASSERT_TRUE(maker.wait(120 * 1000).ok());
  const std::string bytes = store::testing::fileBytes(storePathIn(seedDir.path()));
  const StoreRows seed = readStore(storePathIn(seedDir.path()), "");
  ASSERT_TRUE(seed.ok);
  const int limit = 3 * static_cast<int>(seed.rows.size());
  const size_t pages = bytes.size() / kPage;
  ASSERT_GE(pages, 4u);
  wevo::testing::TempDir dir;
  const std::string path = dir.file("swapped.wevo");
  int walks = 0, endedInError = 0;
  for (size_t a = 0; a < pages; ++a) {
    for (size_t b = a + 1; b < pages; ++b) {
      std::string swapped = bytes;
      std::swap_ranges(swapped.begin() + static_cast<std::ptrdiff_t>(a * kPage),
                       swapped.begin() + static_cast<std::ptrdiff_t>((a + 1) * kPage),
                       swapped.begin() + static_cast<std::ptrdiff_t>(b * kPage));
      // A new file each time: one rewritten in place would be met through
      // the thread's kept connection and the pages it holds.
      std::remove(path.c_str());
      ASSERT_TRUE(wevo::testing::writeFileBytes(path, swapped));
      WindowControls buffer{};
      kf::File f(store::winDecl(), &buffer);
      f.setName(path);
      f.setOwner("");
      if (!f.open()) continue;
      for (int order = 0; order < 2; ++order) {
        for (bool forward : {true, false}) {
          if (!(order == 0 ? f.set(store::KEYPROCEDUREMARKERLABEL) : f.setPhysical())) continue;
          int rows = 0;
          while ((forward ? f.next() : f.previous()) && rows <= limit) ++rows;
          ++walks;
          EXPECT_LE(rows, limit) << "pages " << a << " and " << b << (order == 0 ? " by key" : " in insertion order")
                                 << (forward ? " forward" : " backward") << " went round";
          if (kf::errorCode() != kf::kErrNoRecord) ++endedInError;
        }
      }
      f.close();
    }
  }
  EXPECT_GT(walks, 0);
  EXPECT_GT(endedInError, 0);  // the damage was seen, not only walked past
}

}  // namespace
}  // namespace wevo::reliability
