#include "admin/layout_transfer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

#include "admin/failure.h"
#include "admin/text_table.h"
#include "apply/row_identity.h"
#include "platform/keyedfile/error.h"
#include "store/new_uid.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/store_transaction.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

std::string readWhole(const std::string& file) {
  if (file == "-") return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Failure(kExitNotFound, "cannot read " + file + ": " + std::strerror(errno));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file written under a temporary name and renamed into place when whole.
class OutputFile {
 public:
  explicit OutputFile(std::string path) : path_(std::move(path)), temp_(path_ + ".writing") {
    stream_.open(temp_, std::ios::binary | std::ios::trunc);
    if (!stream_) throw Failure(kExitExists, "cannot write " + temp_ + ": " + std::strerror(errno));
  }
  ~OutputFile() {
    if (!done_) std::remove(temp_.c_str());
  }
  std::ostream& stream() { return stream_; }
  void commit() {
    stream_.close();
    if (!stream_ || std::rename(temp_.c_str(), path_.c_str()) != 0)
      throw Failure(kExitExists, "cannot write " + path_ + ": " + std::strerror(errno));
    done_ = true;
  }

 private:
  std::string path_, temp_;
  std::ofstream stream_;
  bool done_ = false;
};

// What an import does to one marker's rows.
struct Counts {
  std::string procedure, marker;
  size_t added = 0, changed = 0, removed = 0;
};

struct Plan {
  std::vector<uint32_t> remove;                     // rows the store loses, by UID
  std::vector<std::pair<uint32_t, size_t>> change;  // store row UID <- file row
  std::vector<size_t> add;                          // file rows added under new numbers
  std::map<std::string, Counts> counts;             // by procedure and marker, letter case ignored

  Counts& of(const store::WindowControls& row) {
    std::string key =
        text::upper(text::clipped(row.PROCEDURENAME)) + '\0' + text::upper(text::clipped(row.UNIQUEMARKER));
    Counts& c = counts[key];
    if (c.procedure.empty() && c.marker.empty()) {
      c.procedure = std::string(text::clipped(row.PROCEDURENAME));
      c.marker = std::string(text::clipped(row.UNIQUEMARKER));
    }
    return c;
  }
};

Plan planImport(const ParsedLayouts& layouts, const ImportRequest& request, bool storeOpen) {
  Plan plan;
  if (request.mode == ImportMode::kReplace && storeOpen) {
    std::map<std::string, bool> done;
    for (const LayoutRow& row : layouts.rows) {
      Counts& c = plan.of(row.record);
      const std::string key = text::upper(c.procedure) + '\0' + text::upper(c.marker);
      if (done[key]) continue;
      done[key] = true;
      walkRows(RowRange::ofMarker(c.procedure, c.marker), [&](const StoredRow& r) {
        plan.remove.push_back(r.record.UID);
        ++c.removed;
      });
    }
  }
  for (size_t i = 0; i < layouts.rows.size(); ++i) {
    const store::WindowControls& r = layouts.rows[i].record;
    Counts& c = plan.of(r);
    const bool exists =
        storeOpen && request.mode != ImportMode::kReplace &&
        getRow(text::clipped(r.PROCEDURENAME), text::clipped(r.UNIQUEMARKER), text::clipped(r.CONTROLLABEL));
    if (!exists) {
      plan.add.push_back(i);
      ++c.added;
      continue;
    }
    if (request.mode == ImportMode::kAdd)
      throw Failure(kExitExists,
                    request.file + ": line " + std::to_string(layouts.rows[i].line) + ": rows[" +
                        std::to_string(layouts.rows[i].index) + "] " + describeRow(r) +
                        ": the store has this row already (--replace puts each marker of the file in place of the "
                        "store's, --merge overwrites the rows the store has); nothing was imported");
    plan.change.emplace_back(store::WIN().UID, i);
    ++c.changed;
  }
  return plan;
}

void setBlob(kf::File& file, const std::string& blob) {
  if (blob.empty())
    file.blobSetSize(0);
  else
    file.blobSet(blob);
}

void carryOut(const Plan& plan, const ParsedLayouts& layouts) {
  kf::File& file = store::winFile();
  store::WindowControls& row = store::WIN();
  auto byUid = [&](uint32_t uid) {
    kf::clearRecord(store::winDecl(), &row);
    row.UID = uid;
    return file.get(store::KEYUID);
  };
  for (uint32_t uid : plan.remove) {
    if (!byUid(uid) || !file.del()) {
      store::standardMessage(store::kMsgDeleteError, store::kTableLabel);
      throw reportedByStore();
    }
  }
  for (const auto& [uid, index] : plan.change) {
    if (!byUid(uid)) {
      store::standardMessage(store::kMsgRetrievalError, store::kTableLabel);
      throw reportedByStore();
    }
    row = layouts.rows[index].record;
    row.UID = uid;
    setBlob(file, layouts.rows[index].blob);
    if (!file.put()) {
      store::standardMessage(store::kMsgUpdateError, store::kTableLabel);
      throw reportedByStore();
    }
  }
  for (size_t index : plan.add) {
    row = layouts.rows[index].record;
    row.UID = 0;
    setBlob(file, layouts.rows[index].blob);
    if (!store::AddRecordWithNewUid(file, store::KEYUID, store::OnReadFailure::kReportOnly)) throw reportedByStore();
  }
}

void report(const Plan& plan, bool dryRun, std::ostream& out) {
  size_t added = 0, changed = 0, removed = 0;
  TextTable table({"PROCEDURE", "MARKER", "ADDED", "CHANGED", "REMOVED"}, "LLRRR");
  for (const auto& [key, c] : plan.counts) {
    added += c.added;
    changed += c.changed;
    removed += c.removed;
    table.add({cellText(c.procedure, 80), cellText(c.marker, 80), std::to_string(c.added), std::to_string(c.changed),
               std::to_string(c.removed)});
  }
  out << (dryRun ? "would add " : "added ") << added << ", " << (dryRun ? "change " : "changed ") << changed << ", "
      << (dryRun ? "remove " : "removed ") << removed << (removed == 1 ? " row" : " rows")
      << (dryRun ? " (nothing was written)" : "") << "\n";
  if (table.rows() > 0) table.print(out);
}

}  // namespace

void exportLayouts(AdminStore& store, const ExportRequest& request, std::ostream& out) {
  store.requireExisting();
  StoreInUse use;
  // Held, never committed: the rows of one moment.
  auto snapshot = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
  const RowRange range = request.marker      ? RowRange::ofMarker(*request.procedure, *request.marker)
                         : request.procedure ? RowRange::ofProcedure(*request.procedure)
                                             : RowRange::all();
  std::optional<OutputFile> file;
  if (!request.output.empty() && request.output != "-") file.emplace(request.output);
  std::ostream& target = file ? file->stream() : out;
  // Rows go out as they are read; a range that turns out empty writes
  // nothing to standard output.
  size_t rows = 0;
  std::optional<LayoutWriter> writer;
  walkRows(range, [&](const StoredRow& r) {
    if (!writer) writer.emplace(target);
    writer->add(r);
    ++rows;
  });
  if (rows == 0 && request.procedure)
    throw Failure(kExitNotFound, store.location().given + ": no rows of procedure " + quotedText(*request.procedure) +
                                     (request.marker ? ", marker " + quotedText(*request.marker) : ""));
  if (!writer) writer.emplace(target);
  writer->finish();
  target.flush();
  if (file) file->commit();
}

void importLayouts(AdminStore& store, const ImportRequest& request, std::ostream& out) {
  const ParsedLayouts layouts = parseLayouts(readWhole(request.file));
  if (!layouts.ok()) throw Failure(kExitBadInput, request.file + ": " + layouts.error + "; nothing was imported");
  if (request.dryRun && !store.exists()) {
    out << store.location().given << ": no store there yet; the import would create it\n";
    report(planImport(layouts, request, false), true, out);
    return;
  }
  StoreInUse use;  // creates a missing store
  if (request.dryRun) {
    report(planImport(layouts, request, true), true, out);
    return;
  }
  auto transaction = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
  requireBegun(transaction);
  const Plan plan = planImport(layouts, request, true);
  carryOut(plan, layouts);
  if (!transaction.commit()) throw reportedByStore();
  report(plan, false, out);
}

}  // namespace wevo::admin
