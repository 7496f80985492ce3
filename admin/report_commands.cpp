#include "admin/report_commands.h"

#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "admin/failure.h"
#include "admin/text_table.h"
#include "platform/keyedfile/file_decl.h"
#include "store/control_type_names.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "wevo/text.h"

namespace wevo::admin {
namespace {

std::string typeName(int code) {
  std::string_view name = store::ControlTypeName(code, store::TypeNames::kControlList);
  return name.empty() ? "type " + std::to_string(code) : std::string(name);
}

std::string sizeText(int32_t type, int32_t size) {
  if (type == 0) return "full";
  if (type == 1) return "default";
  return std::to_string(size);
}

std::string rangeName(const std::string& procedure, const std::optional<std::string>& marker) {
  return "procedure " + quotedText(procedure) + (marker ? ", marker " + quotedText(*marker) : "");
}

// When the file was last written, for a store file; "" otherwise.
std::string fileTime(const AdminStore& store) {
  if (store.location().server) return "";
  struct stat st {};
  if (::stat(store.context().path.c_str(), &st) != 0) return "";
  std::tm local{};
  localtime_r(&st.st_mtime, &local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

// A field's value as a diff shows it.
std::string valueText(const store::WindowControls& row, const kf::FieldDecl& f) {
  if (f.type != kf::FieldType::String) return std::to_string(kf::readNumber(f, &row));
  const char* bytes = reinterpret_cast<const char*>(&row) + f.offset;
  return quotedText(text::clip(std::string_view(bytes, f.width)));
}

bool sameField(const store::WindowControls& a, const store::WindowControls& b, const kf::FieldDecl& f) {
  const char* x = reinterpret_cast<const char*>(&a) + f.offset;
  const char* y = reinterpret_cast<const char*>(&b) + f.offset;
  return std::memcmp(x, y, f.width) == 0;
}

}  // namespace

void listStore(AdminStore& store, std::ostream& out) {
  store.requireExisting();
  StoreInUse use;
  struct Group {
    std::string procedure, marker;
    uint64_t rows = 0;
    uint32_t newest = 0;
  };
  std::vector<Group> groups;
  uint64_t total = 0;
  walkRows(RowRange::all(), [&](const StoredRow& r) {
    ++total;
    if (groups.empty() || !text::sameNoCase(text::field(r.record.PROCEDURENAME), groups.back().procedure) ||
        !text::sameNoCase(text::field(r.record.UNIQUEMARKER), groups.back().marker))
      groups.push_back(
          {std::string(text::clipped(r.record.PROCEDURENAME)), std::string(text::clipped(r.record.UNIQUEMARKER))});
    Group& g = groups.back();
    ++g.rows;
    if (r.record.UID > g.newest) g.newest = r.record.UID;
  });
  size_t procedures = 0;
  for (size_t i = 0; i < groups.size(); ++i)
    if (i == 0 || !text::sameNoCase(groups[i].procedure, groups[i - 1].procedure)) ++procedures;
  out << store.location().given << ": " << total << (total == 1 ? " row" : " rows") << ", " << groups.size()
      << (groups.size() == 1 ? " marker" : " markers") << " of " << procedures
      << (procedures == 1 ? " procedure" : " procedures") << ", "
      << (store.isProtected() ? "protected by a password" : "not protected");
  const std::string written = fileTime(store);
  if (!written.empty()) out << ", last written " << written;
  out << "\n";
  if (groups.empty()) return;
  TextTable table({"PROCEDURE", "MARKER", "ROWS", "NEWEST UID"}, "LLRR");
  for (const Group& g : groups)
    table.add({cellText(g.procedure, 80), cellText(g.marker, 80), std::to_string(g.rows), std::to_string(g.newest)});
  table.print(out);
}

void showRows(AdminStore& store, const std::string& procedure, const std::optional<std::string>& marker, bool json,
              std::ostream& out) {
  store.requireExisting();
  StoreInUse use;
  const RowRange range = marker ? RowRange::ofMarker(procedure, *marker) : RowRange::ofProcedure(procedure);
  std::vector<StoredRow> rows;
  walkRows(range, [&](const StoredRow& r) { rows.push_back(r); });
  if (rows.empty())
    throw Failure(kExitNotFound, store.location().given + ": no rows of " + rangeName(procedure, marker));
  if (json) {
    LayoutWriter writer(out);
    for (const StoredRow& r : rows) writer.add(r);
    writer.finish();
    return;
  }
  std::vector<std::string> headers = {"LABEL", "TYPE", "X", "Y", "WIDTH", "HEIGHT", "ORDER", "TEXT"};
  std::string align = "LLRRRRRL";
  if (!marker) {
    headers.insert(headers.begin(), "MARKER");
    align.insert(align.begin(), 'L');
  }
  TextTable table(headers, align);
  for (const StoredRow& r : rows) {
    const store::WindowControls& w = r.record;
    std::vector<std::string> cells = {cellText(text::clipped(w.CONTROLLABEL), 80),
                                      typeName(w.TYPE),
                                      std::to_string(w.X),
                                      std::to_string(w.Y),
                                      sizeText(w.WIDTHTYPE, w.WIDTH),
                                      sizeText(w.HEIGHTTYPE, w.HEIGHT),
                                      std::to_string(w.ORDER),
                                      cellText(text::clipped(w.CONTROLTEXT))};
    if (!marker) cells.insert(cells.begin(), cellText(text::clipped(w.UNIQUEMARKER), 80));
    table.add(std::move(cells));
  }
  table.print(out);
}

void diffMarker(AdminStore& store, const std::string& procedure, const std::string& marker, std::ostream& out) {
  if (text::sameNoCase(storedText(marker, sizeof(store::WindowControls::UNIQUEMARKER)), store::kOriginalMarker))
    throw Failure(kExitUsage, std::string(store::kOriginalMarker) + " holds the designed original itself");
  store.requireExisting();
  StoreInUse use;
  std::vector<StoredRow> rows;
  walkRows(RowRange::ofMarker(procedure, marker), [&](const StoredRow& r) { rows.push_back(r); });
  if (rows.empty())
    throw Failure(kExitNotFound, store.location().given + ": no rows of " + rangeName(procedure, marker));
  out << quotedText(procedure) << " " << quotedText(marker) << " against the designed original ("
      << store::kOriginalMarker << "):\n";
  size_t differing = 0, same = 0, orphans = 0;
  for (const StoredRow& r : rows) {
    const std::string label(text::clipped(r.record.CONTROLLABEL));
    const std::string heading = cellText(label, 80) + " (" + typeName(r.record.TYPE) + ")";
    if (!getRow(procedure, store::kOriginalMarker, label)) {
      ++orphans;
      out << heading << ": no original row (the window has lost this control, or has not been opened since it "
          << "was added)\n";
      continue;
    }
    const store::WindowControls& original = store::WIN();
    const std::string originalBlob = store::winFile().blobGet();
    TextTable changes({"", "FIELD", "ORIGINAL", "", "NOW"}, "LLLLL");
    for (const kf::FieldDecl& f : store::winDecl().fields) {
      if (f.name == "UID" || f.name == "UNIQUEMARKER" || f.name == "FEQ") continue;
      if (sameField(original, r.record, f)) continue;
      changes.add({"", f.name, valueText(original, f), "->", valueText(r.record, f)});
    }
    if (originalBlob != r.blob)
      changes.add({"", std::string(kBlobName), std::to_string(originalBlob.size()) + " bytes", "->",
                   std::to_string(r.blob.size()) + " bytes"});
    if (changes.rows() == 0) {
      ++same;
      continue;
    }
    ++differing;
    out << heading << "\n";
    changes.print(out, false);
  }
  out << differing << (differing == 1 ? " row differs" : " rows differ") << " from the original, " << same
      << " as designed";
  if (orphans > 0) out << ", " << orphans << " without an original";
  out << "\n";
}

}  // namespace wevo::admin
