#include "platform/keyedfile/schema.h"

#include <set>

#include "wevo/text.h"

namespace wevo::kf {
namespace {

constexpr const char* kRowName = Schema::kRowName;
constexpr const char* kVersionName = Schema::kVersionName;
constexpr const char* kMetaTable = Schema::kMetaTable;

bool plainIdentifier(const std::string& name) {
  if (name.empty() || name.size() > 64) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    bool digit = c >= '0' && c <= '9';
    if (!(letter || (digit && i > 0))) return false;
  }
  return true;
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

const char* typeName(FieldType t) {
  switch (t) {
    case FieldType::Byte:
      return "BYTE";
    case FieldType::Short:
      return "SHORT";
    case FieldType::UShort:
      return "USHORT";
    case FieldType::Long:
      return "LONG";
    case FieldType::ULong:
      return "ULONG";
    case FieldType::String:
      return "STRING";
  }
  return "?";
}

size_t typeWidth(FieldType t) {
  switch (t) {
    case FieldType::Byte:
      return 1;
    case FieldType::Short:
    case FieldType::UShort:
      return 2;
    case FieldType::Long:
    case FieldType::ULong:
      return 4;
    case FieldType::String:
      return 0;
  }
  return 0;
}

std::string checkDecl(const FileDecl& d) {
  if (!plainIdentifier(d.label)) return "table label '" + d.label + "' is not a plain name";
  if (text::sameNoCase(d.label, kMetaTable)) return "table label '" + d.label + "' is reserved";
  std::set<std::string> names{text::upper(kRowName), text::upper(kVersionName)};
  auto claim = [&](const std::string& name, const char* what) -> std::string {
    if (!plainIdentifier(name)) return std::string(what) + " '" + name + "' is not a plain name";
    if (!names.insert(text::upper(name)).second) return std::string(what) + " '" + name + "' clashes";
    return "";
  };
  for (const FieldDecl& f : d.fields) {
    if (std::string p = claim(f.name, "field"); !p.empty()) return p;
    size_t w = typeWidth(f.type);
    if (f.width == 0 || (w != 0 && f.width != w)) return "field '" + f.name + "' has a bad width";
    if (uint64_t{f.offset} + f.width > d.recordSize) return "field '" + f.name + "' lies outside the record";
  }
  if (!d.blob.empty())
    if (std::string p = claim(d.blob, "blob"); !p.empty()) return p;
  std::set<std::string> keyNames;
  for (const KeyDecl& k : d.keys) {
    if (!plainIdentifier(k.name) || !keyNames.insert(text::upper(k.name)).second)
      return "key '" + k.name + "' is not a plain, distinct name";
    if (k.components.empty()) return "key '" + k.name + "' has no components";
    for (int c : k.components)
      if (c < 0 || static_cast<size_t>(c) >= d.fields.size()) return "key '" + k.name + "' names no field";
  }
  return "";
}

}  // namespace

Schema::Schema(const FileDecl& decl) : decl_(decl), problem_(checkDecl(decl)) {
  if (!usable()) return;
  table_ = quoted(decl_.label);

  columns_ = quoted(kRowName) + "," + quoted(kVersionName);
  std::string names, params, sets;
  int n = 0;
  auto addColumn = [&](const std::string& name) {
    ++n;
    columns_ += "," + quoted(name);
    names += (n > 1 ? "," : "") + quoted(name);
    params += (n > 1 ? ",?" : "?") + std::to_string(n);
    sets += (n > 1 ? "," : "") + quoted(name) + "=?" + std::to_string(n);
  };
  for (const FieldDecl& f : decl_.fields) addColumn(f.name);
  if (!decl_.blob.empty()) addColumn(decl_.blob);

  insert_ = "INSERT INTO " + table_ + "(" + names + ") VALUES(" + params + ")";
  std::string bump = "," + quoted(kVersionName) + "=" + quoted(kVersionName) + "+1";
  std::string byRow = " WHERE " + quoted(kRowName) + "=?" + std::to_string(n + 1);
  std::string byVersion = " AND " + quoted(kVersionName) + "=?" + std::to_string(n + 2);
  update_ = "UPDATE " + table_ + " SET " + sets + bump + byRow;
  updateWatched_ = update_ + byVersion;
  delete_ = "DELETE FROM " + table_ + " WHERE " + quoted(kRowName) + "=?1";
  deleteWatched_ = delete_ + " AND " + quoted(kVersionName) + "=?2";
  selectByRow_ = select() + " WHERE " + quoted(kRowName) + "=?1";
  versionByRow_ = "SELECT " + quoted(kVersionName) + " FROM " + table_ + " WHERE " + quoted(kRowName) + "=?1";
  count_ = "SELECT count(*) FROM " + table_;

  signature_ = "kf1;table=" + decl_.label + ";fields=";
  for (size_t i = 0; i < decl_.fields.size(); ++i) {
    const FieldDecl& f = decl_.fields[i];
    signature_ += (i ? "," : "") + f.name + ":" + typeName(f.type) + ":" + std::to_string(f.width);
  }
  signature_ += ";keys=";
  for (size_t i = 0; i < decl_.keys.size(); ++i) {
    const KeyDecl& k = decl_.keys[i];
    signature_ += (i ? "," : "") + k.name + "(";
    for (size_t j = 0; j < k.components.size(); ++j)
      signature_ += (j ? "+" : "") + decl_.fields[static_cast<size_t>(k.components[j])].name;
    signature_ += std::string(")") + (k.unique ? "U" : "D") + (k.nocase ? "I" : "C");
  }
  signature_ += ";blob=" + decl_.blob;
}

bool Schema::validKey(int key) const { return key == -1 || (key >= 0 && static_cast<size_t>(key) < decl_.keys.size()); }

int Schema::componentCount(int key) const {
  return key < 0 ? 0 : static_cast<int>(decl_.keys[static_cast<size_t>(key)].components.size());
}

const FieldDecl& Schema::component(int key, int j) const {
  const KeyDecl& k = decl_.keys[static_cast<size_t>(key)];
  return decl_.fields[static_cast<size_t>(k.components[static_cast<size_t>(j)])];
}

bool Schema::textNoCase(int key, int j) const {
  return decl_.keys[static_cast<size_t>(key)].nocase && component(key, j).type == FieldType::String;
}

int Schema::blobColumn() const {
  return decl_.blob.empty() ? -1 : kFirstFieldColumn + static_cast<int>(decl_.fields.size());
}

std::string Schema::select() const { return "SELECT " + columns_ + " FROM " + table_; }

std::vector<std::string> Schema::createStatements() const {
  std::string table = "CREATE TABLE " + table_ + "(";
  for (const FieldDecl& f : decl_.fields)
    table += quoted(f.name) +
             (f.type == FieldType::String ? " TEXT NOT NULL DEFAULT ''," : " INTEGER NOT NULL DEFAULT 0,");
  if (!decl_.blob.empty()) table += quoted(decl_.blob) + " BLOB,";
  table += quoted(kRowName) + " INTEGER PRIMARY KEY AUTOINCREMENT," + quoted(kVersionName) +
           " INTEGER NOT NULL DEFAULT 0)";
  std::vector<std::string> out{
      table, "CREATE TABLE " + quoted(kMetaTable) + "(\"name\" TEXT PRIMARY KEY, \"value\" TEXT NOT NULL)"};
  for (std::string& s : createIndexStatements()) out.push_back(std::move(s));
  return out;
}

std::vector<std::string> Schema::createIndexStatements() const {
  std::vector<std::string> out;
  for (size_t i = 0; i < decl_.keys.size(); ++i) {
    const KeyDecl& k = decl_.keys[i];
    std::string s = std::string("CREATE ") + (k.unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS " +
                    quoted(decl_.label + "_" + k.name) + " ON " + table_ + "(";
    for (int j = 0; j < componentCount(static_cast<int>(i)); ++j)
      s += (j ? "," : "") + componentSql(static_cast<int>(i), j);
    out.push_back(s + ")");
  }
  return out;
}

std::vector<std::string> Schema::dropIndexStatements() const {
  std::vector<std::string> out;
  for (const KeyDecl& k : decl_.keys) out.push_back("DROP INDEX IF EXISTS " + quoted(decl_.label + "_" + k.name));
  return out;
}

const std::string& Schema::readMetaSql() {
  static const std::string s = "SELECT \"value\" FROM " + quoted(kMetaTable) + " WHERE \"name\"=?1";
  return s;
}

const std::string& Schema::writeMetaSql() {
  static const std::string s = "INSERT OR REPLACE INTO " + quoted(kMetaTable) + "(\"name\",\"value\") VALUES(?1,?2)";
  return s;
}

std::string Schema::componentSql(int key, int j) const {
  std::string c = quoted(component(key, j).name);
  return textNoCase(key, j) ? c + " COLLATE NOCASE" : c;
}

std::string Schema::orderFrom(int key, int j, bool forward) const {
  const char* dir = forward ? "" : " DESC";
  std::string s;
  for (int i = j; i < componentCount(key); ++i) s += componentSql(key, i) + dir + ",";
  return s + quoted(kRowName) + dir;
}

std::string Schema::exactSql(int key) const {
  std::string s = select() + " WHERE ";
  for (int j = 0; j < componentCount(key); ++j)
    s += (j ? " AND " : "") + componentSql(key, j) + "=?" + std::to_string(j + 1);
  return s + " ORDER BY " + quoted(kRowName) + " LIMIT 1";
}

std::string Schema::duplicateSql(int key) const {
  int n = componentCount(key);
  std::string s = "SELECT " + quoted(kRowName) + " FROM " + table_ + " WHERE ";
  for (int j = 0; j < n; ++j) s += componentSql(key, j) + "=?" + std::to_string(j + 1) + " AND ";
  return s + quoted(kRowName) + "<>?" + std::to_string(n + 1) + " LIMIT 1";
}

const std::string& Schema::rangeSql(int key, int pins) {
  const uint32_t id = 0x10000u | static_cast<uint32_t>(key + 1) << 8 | static_cast<uint32_t>(pins);
  auto it = seeks_.find(id);
  if (it != seeks_.end()) return it->second;
  std::string where;
  for (int j = 0; j < pins; ++j) where += (j ? " AND " : " WHERE ") + componentSql(key, j) + "=?" + std::to_string(j + 1);
  return seeks_.emplace(id, select() + where + " ORDER BY " + orderFrom(key, pins, true)).first->second;
}

const std::string& Schema::seekSql(int key, int pins, bool forward, bool bounded, bool inclusive) {
  uint32_t id = static_cast<uint32_t>(key + 1) << 8 | static_cast<uint32_t>(pins) << 3 |
                (forward ? 4u : 0u) | (bounded ? 2u : 0u) | (inclusive ? 1u : 0u);
  auto it = seeks_.find(id);
  if (it != seeks_.end()) return it->second;

  const int n = componentCount(key);
  auto equalities = [&](int count) {
    std::string s;
    for (int j = 0; j < count; ++j) s += (j ? " AND " : "") + componentSql(key, j) + "=?" + std::to_string(j + 1);
    return s;
  };
  std::string sql;
  if (!bounded) {
    sql = select() + (pins > 0 ? " WHERE " + equalities(pins) : "") + " ORDER BY " + orderFrom(key, pins, forward) +
          " LIMIT 1";
  } else {
    // A row after the tuple is, for the deepest level k that it shares with
    // the tuple, greater in component k+1 (or, sharing all, in row id). One
    // index seek per level, deepest first; the first row found wins. Levels
    // above the pinned components are never tried: that is the range's end.
    const char* beyond = forward ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
    const char* past = forward ? ">" : "<";
    std::vector<std::string> arms;
    for (int k = n; k >= pins; --k) {
      std::string where = equalities(k);
      if (!where.empty()) where += " AND ";
      std::string order;
      if (k == n) {
        where += quoted(kRowName) + beyond + "?" + std::to_string(n + 1);
        order = quoted(kRowName) + (forward ? "" : " DESC");
      } else {
        where += componentSql(key, k) + past + "?" + std::to_string(k + 1);
        order = orderFrom(key, k, forward);
      }
      arms.push_back(select() + " WHERE " + where + " ORDER BY " + order + " LIMIT 1");
    }
    if (arms.size() == 1) {
      sql = arms[0];
    } else {
      for (size_t i = 0; i < arms.size(); ++i) sql += (i ? " UNION ALL " : "") + ("SELECT * FROM (" + arms[i] + ")");
      sql += " LIMIT 1";
    }
  }
  return seeks_.emplace(id, std::move(sql)).first->second;
}

}  // namespace wevo::kf
