#include "platform/keyedfile/cursor.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/keyedfile/read_counter.h"

namespace wevo::kf {

void Cursor::start(int key) {
  active_ = true;
  key_ = key;
  ahead_ = Bound{};
  behind_ = Bound{};
}

void Cursor::startAt(int key, KeyTuple values) {
  active_ = true;
  key_ = key;
  ahead_ = Bound{false, values, std::numeric_limits<int64_t>::min(), true};
  behind_ = Bound{false, std::move(values), std::numeric_limits<int64_t>::max(), true};
}

void Cursor::startAtRow(int key, KeyTuple values, int64_t row) {
  active_ = true;
  key_ = key;
  ahead_ = Bound{false, values, row, true};
  behind_ = Bound{false, std::move(values), row, true};
}

KeyTuple Cursor::tupleOf(const Stmt& stmt, const Schema& schema, int key) {
  KeyTuple t;
  if (key < 0) return t;
  for (int c : schema.decl().keys[static_cast<size_t>(key)].components) {
    int col = Schema::kFirstFieldColumn + c;
    if (schema.decl().fields[static_cast<size_t>(c)].type == FieldType::String) {
      // The stored text as it stands: comparing with it is exact even for a
      // value wider than the field.
      FieldValue v;
      v.isText = true;
      v.text = std::string(stmt.columnText(col));
      t.push_back(std::move(v));
    } else {
      t.push_back(FieldValue::ofNumber(stmt.columnInt(col)));
    }
  }
  return t;
}

bool Cursor::beyond(const Schema& schema, const KeyTuple& at, int64_t row, const Bound& bound, bool forward) const {
  int c = 0;
  for (size_t j = 0; c == 0 && j < at.size() && j < bound.values.size(); ++j)
    c = compareValues(at[j], bound.values[j], schema.textNoCase(key_, static_cast<int>(j)));
  if (c == 0) c = (row > bound.row) - (row < bound.row);
  if (!forward) c = -c;
  return c > 0 || (c == 0 && bound.inclusive);
}

Cursor::Seek Cursor::seek(bool forward) const {
  const Bound& bound = forward ? ahead_ : behind_;
  return Seek{!bound.open, bound.inclusive, &bound.values, bound.row};
}

Cursor::Fetch Cursor::found(const Schema& schema, bool forward, KeyTuple at, int64_t row, bool check) {
  const Bound& bound = forward ? ahead_ : behind_;
  // A sound file always answers a seek with a row beyond the bound; a
  // damaged one can answer with one the walk has passed, and a walk that
  // believed it would never end.
  if (check && !bound.open && !beyond(schema, at, row, bound, forward)) {
    reportSqlFailure(nullptr, kSqlCorrupt);
    return Fetch::kError;
  }
  ahead_ = Bound{false, at, row, false};
  behind_ = Bound{false, std::move(at), row, false};
  return Fetch::kRow;
}

Cursor::Fetch Cursor::ended(bool forward) {
  (forward ? behind_ : ahead_) = Bound{};
  return Fetch::kEnd;
}

Cursor::Fetch Cursor::fetch(Db& db, Schema& schema, bool forward, const KeyTuple& pins, void* record,
                            std::string& blob, int64_t& row, int64_t& version) {
  const Seek wanted = seek(forward);
  const int n = schema.componentCount(key_);
  const int pinned = static_cast<int>(pins.size());
  int rc = kSqlOk;
  Stmt* stmt = db.prepare(schema.seekSql(key_, pinned, forward, wanted.bounded, wanted.inclusive), &rc);
  if (stmt == nullptr) {
    reportSqlFailure(&db, rc);
    return Fetch::kError;
  }
  StmtUse use(*stmt);
  if (!wanted.bounded) {
    for (int j = 0; j < pinned; ++j) bindValue(*stmt, j + 1, pins[static_cast<size_t>(j)]);
  } else {
    for (int j = 0; j < n; ++j)
      bindValue(*stmt, j + 1, j < pinned ? pins[static_cast<size_t>(j)] : (*wanted.values)[static_cast<size_t>(j)]);
    stmt->bindInt(n + 1, wanted.row);
  }
  rc = stmt->step();
  if (rc == kSqlRow) {
    countRowRead();
    readRecord(*stmt, Schema::kFirstFieldColumn, schema.decl(), record, schema.blobColumn(), blob);
    row = stmt->columnInt(Schema::kRowColumn);
    version = stmt->columnInt(Schema::kVersionColumn);
    return found(schema, forward, tupleOf(*stmt, schema, key_), row, true);
  }
  if (rc == kSqlDone) return ended(forward);
  reportSqlFailure(&db, rc);
  return Fetch::kError;
}

}  // namespace wevo::kf
