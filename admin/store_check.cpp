#include "admin/store_check.h"

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "admin/failure.h"
#include "admin/layout_transfer.h"
#include "admin/text_table.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/server_name.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

constexpr const char* kKeyNames[] = {"KEYUID", "KEYPROCEDUREMARKERLABEL", "KEYPROCEDUREMARKERFEQ", "ORDERKEY"};

// What the check keeps of a row.
struct RowKey {
  uint32_t uid = 0;
  std::string procedure, marker, label;  // as stored, without trailing blanks
  int32_t feq = 0;
};

RowKey keyOf(const store::WindowControls& r) {
  return {r.UID, std::string(text::clipped(r.PROCEDURENAME)), std::string(text::clipped(r.UNIQUEMARKER)),
          std::string(text::clipped(r.CONTROLLABEL)), r.FEQ};
}

std::string upperPair(std::string_view a, std::string_view b) { return text::upper(a) + '\0' + text::upper(b); }

bool isOriginal(const RowKey& k) { return text::sameNoCase(k.marker, store::kOriginalMarker); }

struct Findings {
  std::vector<std::string> integrity;  // cannot be repaired here
  bool keysInvalid = false;            // left invalid: the store does not open
  std::vector<std::string> keys;       // repaired by rebuilding the keys
  std::vector<std::string> duplicateUids;
  std::vector<RowKey> stale;  // removed by --fix
  std::vector<std::string> staleLines;
  std::vector<std::string> renumbered;  // said, not repaired
  std::set<std::string> designed;       // procedures with original rows (upper case)

  bool unrepairable() const { return !integrity.empty() || !duplicateUids.empty(); }
};

// Rows in the order they were added; false when the walk broke off.
bool readAll(std::vector<RowKey>& rows, Findings& f) {
  kf::File& file = store::winFile();
  file.setPhysical();
  while (file.next()) rows.push_back(keyOf(store::WIN()));
  if (kf::errorCode() != kf::kErrNoRecord) {
    f.integrity.push_back("the store cannot be read whole: after " + std::to_string(rows.size()) + " rows, " +
                          store::errorText());
    return false;
  }
  uint64_t counted = 0;
  if (!file.records(counted)) {
    f.integrity.push_back("the store cannot count its rows: " + store::errorText());
    return false;
  }
  if (counted != rows.size())
    f.integrity.push_back("the store counts " + std::to_string(counted) + " rows, but " + std::to_string(rows.size()) +
                          " can be read");
  return true;
}

void checkKeys(const std::vector<RowKey>& rows, Findings& f) {
  std::multiset<uint32_t> all;
  for (const RowKey& r : rows) all.insert(r.uid);
  for (auto it = all.begin(); it != all.end(); it = all.upper_bound(*it))
    if (all.count(*it) > 1)
      f.duplicateUids.push_back("UID " + std::to_string(*it) + " is used by " + std::to_string(all.count(*it)) +
                                " rows");
  kf::File& file = store::winFile();
  for (int key = 0; key < 4; ++key) {
    std::multiset<uint32_t> listed;
    uint32_t previous = 0;
    bool ordered = true;
    file.set(key);
    while (file.next()) {
      const uint32_t uid = store::WIN().UID;
      if (key == store::KEYUID && !listed.empty() && uid <= previous) ordered = false;
      previous = uid;
      listed.insert(uid);
    }
    if (kf::errorCode() != kf::kErrNoRecord) {
      f.keys.push_back(std::string(kKeyNames[key]) + " cannot be read whole: " + store::errorText());
      continue;
    }
    if (listed != all)
      f.keys.push_back(std::string(kKeyNames[key]) + " lists " + std::to_string(listed.size()) +
                       " rows, not the store's " + std::to_string(all.size()) + " once each");
    else if (!ordered)
      f.keys.push_back(std::string(kKeyNames[key]) + " is out of order");
  }
}

void findStale(const std::vector<RowKey>& rows, Findings& f) {
  std::set<std::string> originals;  // procedure and label
  std::set<std::string>& designed = f.designed;
  std::map<std::pair<std::string, int32_t>, std::vector<const RowKey*>> byField;
  for (const RowKey& r : rows) {
    if (!isOriginal(r)) continue;
    originals.insert(upperPair(r.procedure, r.label));
    designed.insert(text::upper(r.procedure));
    if (r.feq > 0) byField[{text::upper(r.procedure), r.feq}].push_back(&r);
  }
  std::map<std::string, std::pair<const RowKey*, size_t>> orphanMarkers;
  for (const RowKey& r : rows) {
    if (isOriginal(r)) continue;
    if (designed.count(text::upper(r.procedure)) == 0) {
      auto& m = orphanMarkers[upperPair(r.procedure, r.marker)];
      if (m.first == nullptr) m.first = &r;
      ++m.second;
      f.stale.push_back(r);
      continue;
    }
    if (originals.count(upperPair(r.procedure, r.label)) > 0) continue;
    f.stale.push_back(r);
    f.staleLines.push_back("UID " + std::to_string(r.uid) + " (" + quotedText(r.procedure) + ", " +
                           quotedText(r.marker) + ", " + quotedText(r.label) +
                           "): no original row has this label (the window lost that control, or the row came "
                           "from another version of the program)");
  }
  for (const auto& [key, m] : orphanMarkers)
    f.staleLines.push_back("marker (" + quotedText(m.first->procedure) + ", " + quotedText(m.first->marker) +
                           "): " + std::to_string(m.second) + (m.second == 1 ? " row" : " rows") +
                           ", and its procedure has no original rows (no window of that name has been opened "
                           "with this store)");
  for (const auto& [field, claimants] : byField) {
    if (claimants.size() < 2) continue;
    std::string line = "field " + std::to_string(field.second) + " of " + quotedText(claimants[0]->procedure) +
                       " is claimed by the original rows";
    for (size_t i = 0; i < claimants.size(); ++i)
      line += std::string(i == 0                      ? " "
                          : i + 1 == claimants.size() ? " and "
                                                      : ", ") +
              quotedText(claimants[i]->label) + " (UID " + std::to_string(claimants[i]->uid) + ")";
    f.renumbered.push_back(line + ": the window was renumbered and lost one of them");
  }
}

void section(std::ostream& out, const char* title, const std::vector<std::string>& lines, const char* none) {
  if (lines.empty()) {
    out << title << ": " << none << "\n";
    return;
  }
  out << title << ": " << lines.size() << "\n";
  for (const std::string& l : lines) out << "  " << l << "\n";
}

// A store file is copied whole beside itself. A server store cannot be
// copied there, so its rows are kept as a layouts file in the current
// folder, from which import --replace puts them back.
void backUp(AdminStore& store, std::string& backup) {
  if (store.location().server) {
    const auto where = kf::parseServerStoreName(store.context().path);
    std::error_code ec;
    backup = (std::filesystem::current_path(ec) /
              freeBackupName(where ? where->schema : std::string("store"), ".json"))
                 .string();
    ExportRequest request;
    request.output = backup;
    std::ostringstream unused;
    exportLayouts(store, request, unused);
    return;
  }
  backup = freeBackupName(store.context().path);
  if (!store::winFile().copy(backup))
    throw Failure(kExitStoreError, "cannot keep a copy of the store as " + backup + ": " + store::errorText() +
                                       "; nothing was repaired");
}

// Whether the procedure still has original rows (of this label, when one
// is given).
bool stillDesigned(const RowKey& k, bool byLabel) {
  if (byLabel) return getRow(k.procedure, store::kOriginalMarker, k.label);
  bool found = false;
  walkRows(RowRange::ofMarker(k.procedure, store::kOriginalMarker), [&](const StoredRow&) { found = true; });
  return found;
}

// Removes the stale rows, each found again by its number and checked to be
// the row reported, still stale.
size_t removeStale(const std::vector<RowKey>& stale, const std::set<std::string>& designed) {
  kf::File& file = store::winFile();
  store::WindowControls& row = store::WIN();
  size_t removed = 0;
  for (const RowKey& k : stale) {
    if (stillDesigned(k, designed.count(text::upper(k.procedure)) > 0)) continue;
    kf::clearRecord(store::winDecl(), &row);
    row.UID = k.uid;
    if (!file.get(store::KEYUID)) continue;
    const RowKey now = keyOf(row);
    if (now.procedure != k.procedure || now.marker != k.marker || now.label != k.label) continue;
    if (!file.del()) {
      store::standardMessage(store::kMsgDeleteError, store::kTableLabel);
      throw reportedByStore();
    }
    ++removed;
  }
  return removed;
}

}  // namespace

std::string freeBackupName(const std::string& name, const std::string& suffix) {
  for (int n = 1;; ++n) {
    const std::string candidate = name + (n == 1 ? ".check.bak" : ".check." + std::to_string(n) + ".bak") + suffix;
    std::error_code ec;
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
}

int checkStore(AdminStore& store, bool fix, std::ostream& out) {
  store.requireExisting();
  Findings f;
  std::string backup;
  kf::File& file = store::winFile();
  // Keys an interrupted copy left invalid keep the store from opening; the
  // store layer's open would ask to rebuild them. Found here first.
  if (file.open()) {
    file.close();
  } else if (kf::errorCode() == kf::kErrKeysDamaged) {
    f.keysInvalid = true;
    if (fix) {
      backUp(store, backup);
      if (!file.build())
        throw Failure(kExitStoreError, "cannot rebuild the keys: " + store::errorText() +
                                           "; the store is as it was, and its copy is " + backup);
    }
  } else {
    // Any other failure: the store layer's open says why, as it says it to
    // a program, before the report begins (it ends the command when the
    // store stays closed).
    StoreInUse use;
  }
  out << store.location().given << ":";
  if (f.keysInvalid) {
    out << " its keys were left invalid (rows were added without them, as an interrupted copy leaves them)";
    out << (fix ? "; rebuilt\n" : "\n");
    if (!fix)
      throw Failure(kExitProblems, store.location().given +
                                       ": its keys are invalid; wevoadmin check --fix rebuilds them after keeping a "
                                       "copy of the store");
  }
  std::vector<RowKey> rows;
  {
    StoreInUse use;
    if (readAll(rows, f)) {
      checkKeys(rows, f);
      findStale(rows, f);
    }
  }
  out << " " << rows.size() << (rows.size() == 1 ? " row" : " rows") << "\n";
  section(out, "integrity", f.integrity, "every row reads");
  std::vector<std::string> keyLines = f.duplicateUids;
  keyLines.insert(keyLines.end(), f.keys.begin(), f.keys.end());
  section(out, "keys", keyLines, "each key lists every row once");
  section(out, "stale rows", f.staleLines, "none");
  section(out, "renumbered controls", f.renumbered, "none");
  if (!f.renumbered.empty()) out << "  (not repaired: only the program knows which control its window lost)\n";
  const bool repairable = !f.keys.empty() || !f.stale.empty();
  if (f.unrepairable())
    throw Failure(kExitProblems, store.location().given +
                                     ": the store cannot be read whole, or holds a number twice; such a store is put "
                                     "back from a copy, not repaired in place" +
                                     (fix ? std::string("; nothing was repaired") : std::string()));
  if (!repairable) return kExitOk;
  if (!fix)
    throw Failure(kExitProblems, store.location().given +
                                     ": problems listed under keys or stale rows; wevoadmin check --fix repairs "
                                     "them after keeping a copy of the store");
  if (backup.empty()) backUp(store, backup);
  size_t removed = 0;
  {
    StoreInUse use;
    auto transaction = store::StoreTransaction::beginOrGoOnWithout(file);
    requireBegun(transaction);
    if (!f.keys.empty() && !file.build())
      throw Failure(kExitStoreError, "cannot rebuild the keys: " + store::errorText() + "; nothing was repaired");
    removed = removeStale(f.stale, f.designed);
    if (!transaction.commit()) throw reportedByStore();
  }
  out << "repaired:";
  if (!f.keys.empty()) out << " keys rebuilt;";
  out << " " << removed << (removed == 1 ? " stale row" : " stale rows") << " removed; the store as it was is "
      << backup << "\n";
  return kExitOk;
}

}  // namespace wevo::admin
