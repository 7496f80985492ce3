#include "platform/keyedfile/view.h"

#include <cstring>
#include <vector>

#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/expression.h"
#include "platform/keyedfile/keyed_file_state.h"
#include "wevo/text.h"

namespace wevo::kf {
namespace {

// "WIN:ProcedureName" -> ("WIN", "ProcedureName"); no colon: empty prefix.
std::pair<std::string_view, std::string_view> splitName(std::string_view name) {
  size_t colon = name.rfind(':');
  if (colon == std::string_view::npos) return {{}, name};
  return {name.substr(0, colon), name.substr(colon + 1)};
}

bool sameName(std::string_view a, std::string_view b) { return a.size() == b.size() && text::sameNoCase(a, b); }

}  // namespace

struct View::State : Scope {
  explicit State(File& f) : file(f) {}

  struct Variable {
    enum class Type { kText, kInt32, kUInt32 };
    std::string name;
    Type type = Type::kText;
    const void* data = nullptr;
    size_t width = 0;
  };
  struct Record {
    const FileDecl* decl;
    const void* data;
  };

  File& file;
  std::string order, filter;
  std::vector<Variable> variables;
  std::vector<Record> records;

  bool open = false;
  int key = kPhysical;
  bool descending = false;
  Expression filterExpr;
  // For each leading component of the order key, the filter term fixing it
  // (as far as there are such terms, in component order).
  std::vector<Expression::Pin> keyPins;
  KeyTuple pinValues;  // taken when the view is positioned
  Cursor cursor;
  std::vector<unsigned char> scratch;
  std::string scratchBlob;
  int64_t lastRow = 0;

  File::State& fs() const { return *file.s_; }

  std::optional<NameRef> resolve(std::string_view name) const override {
    for (size_t i = 0; i < variables.size(); ++i)
      if (sameName(variables[i].name, name)) return NameRef{NameRef::Kind::kVariable, static_cast<int>(i), 0};
    auto [prefix, field] = splitName(name);
    if (prefix.empty()) return std::nullopt;
    const FileDecl& own = fs().decl;
    if (sameName(prefix, own.prefix)) {
      int f = own.fieldIndex(field);
      if (f >= 0) return NameRef{NameRef::Kind::kRowField, f, 0};
      return std::nullopt;
    }
    for (size_t i = 0; i < records.size(); ++i) {
      if (!sameName(prefix, records[i].decl->prefix)) continue;
      int f = records[i].decl->fieldIndex(field);
      if (f >= 0) return NameRef{NameRef::Kind::kRecordField, static_cast<int>(i), f};
    }
    return std::nullopt;
  }

  FieldValue value(const NameRef& ref, const void* row) const override {
    switch (ref.kind) {
      case NameRef::Kind::kRowField:
        if (row == nullptr) return FieldValue::ofText("");
        return fieldValue(fs().decl.fields[static_cast<size_t>(ref.index)], row);
      case NameRef::Kind::kVariable: {
        const Variable& v = variables[static_cast<size_t>(ref.index)];
        switch (v.type) {
          case Variable::Type::kText:
            return FieldValue::ofText(text::field(static_cast<const char*>(v.data), v.width));
          case Variable::Type::kInt32: {
            int32_t n;
            std::memcpy(&n, v.data, sizeof n);
            return FieldValue::ofNumber(n);
          }
          case Variable::Type::kUInt32: {
            uint32_t n;
            std::memcpy(&n, v.data, sizeof n);
            return FieldValue::ofNumber(n);
          }
        }
        break;
      }
      case NameRef::Kind::kRecordField: {
        const Record& r = records[static_cast<size_t>(ref.index)];
        return fieldValue(r.decl->fields[static_cast<size_t>(ref.field)], r.data);
      }
    }
    return FieldValue::ofNumber(0);
  }

  bool requireOpen() const {
    if (!fs().open) {
      setError(kErrNotOpen);
      return false;
    }
    if (!open) {
      setError(kErrNotOpen, 0, "the view is not open");
      return false;
    }
    return true;
  }

  // The order key: the first whose leading components are the order's
  // fields, text compared as the order compares it.
  bool pickKey(const std::vector<OrderTerm>& terms, std::string* error) {
    key = kPhysical;
    descending = !terms.empty() && terms[0].descending;
    if (terms.empty()) return true;
    for (const OrderTerm& t : terms) {
      if (t.descending != descending) {
        *error = "the order mixes ascending and descending fields";
        return false;
      }
    }
    const Schema& schema = fs().schema;
    int best = -1;
    for (int k = 0; k < static_cast<int>(fs().decl.keys.size()); ++k) {
      const KeyDecl& kd = fs().decl.keys[static_cast<size_t>(k)];
      if (kd.components.size() < terms.size()) continue;
      bool fits = true;
      for (size_t j = 0; j < terms.size() && fits; ++j) {
        const OrderTerm& t = terms[j];
        const bool text = schema.component(k, static_cast<int>(j)).type == FieldType::String;
        fits = kd.components[j] == t.field && (text ? t.upper == kd.nocase : !t.upper);
      }
      if (fits && (best < 0 || kd.components.size() < fs().decl.keys[static_cast<size_t>(best)].components.size()))
        best = k;
    }
    if (best < 0) {
      *error = "no key of the file gives this order";
      return false;
    }
    key = best;
    return true;
  }

  // Which filter terms fix the order key's leading components.
  void findPins() {
    keyPins.clear();
    if (key < 0) return;
    const Schema& schema = fs().schema;
    std::vector<Expression::Pin> all = filterExpr.pins();
    for (int j = 0; j < schema.componentCount(key); ++j) {
      const FieldDecl& comp = schema.component(key, j);
      const int field = fs().decl.keys[static_cast<size_t>(key)].components[static_cast<size_t>(j)];
      const Expression::Pin* found = nullptr;
      for (const Expression::Pin& p : all) {
        if (p.field != field) continue;
        // UPPER(field) = v fixes a range only where the key ignores case.
        if (p.upper && !schema.textNoCase(key, j)) continue;
        if (p.upper && comp.type != FieldType::String) continue;
        found = &p;
        break;
      }
      if (!found) break;
      keyPins.push_back(*found);
    }
  }

  // Takes the pinned values for this walk. A value that cannot be the
  // component's (a number for text) ends the pinned part: the filter still
  // judges every row.
  void takePinValues() {
    pinValues.clear();
    for (size_t j = 0; j < keyPins.size(); ++j) {
      FieldValue v = filterExpr.pinValue(keyPins[j], *this);
      const FieldDecl& comp = fs().schema.component(key, static_cast<int>(j));
      if (comp.type == FieldType::String) {
        if (!v.isText) break;
        v = FieldValue::ofText(v.text);
      } else if (v.isText) {
        // Text that reads as a number pins that number; other text equals no
        // number, and stays text so that the range is empty, as the filter is.
        if (std::optional<int64_t> n = numberIn(v.text)) v = FieldValue::ofNumber(*n);
      }
      pinValues.push_back(std::move(v));
    }
  }

  bool read(bool forward) {
    if (!requireOpen()) return false;
    if (!cursor.active()) {
      setError(kErrNoRecord);
      return false;
    }
    File::State& f = fs();
    scratch.resize(f.decl.recordSize);
    const bool keyForward = forward != descending;
    for (;;) {
      int64_t row = 0, version = 0;
      switch (f.backend->fetch(cursor, keyForward, pinValues, scratch.data(), scratchBlob, row, version)) {
        case Cursor::Fetch::kRow:
          break;
        case Cursor::Fetch::kEnd:
          setError(kErrNoRecord);
          return false;
        case Cursor::Fetch::kError:
          return false;
      }
      if (!filterExpr.accepts(*this, scratch.data())) continue;
      std::memcpy(f.record, scratch.data(), f.decl.recordSize);
      f.blob = scratchBlob;
      f.becameCurrent(row, version);
      lastRow = row;
      clearError();
      return true;
    }
  }
};

View::View(File& file) : s_(std::make_unique<State>(file)) {}
View::~View() = default;

void View::setOrder(std::string_view order) { s_->order = std::string(order); }
void View::setFilter(std::string_view filter) { s_->filter = std::string(filter); }

void View::bind(std::string_view name, const char* data, size_t width) {
  s_->variables.push_back({std::string(name), State::Variable::Type::kText, data, width});
}
void View::bind(std::string_view name, const int32_t* value) {
  s_->variables.push_back({std::string(name), State::Variable::Type::kInt32, value, sizeof *value});
}
void View::bind(std::string_view name, const uint32_t* value) {
  s_->variables.push_back({std::string(name), State::Variable::Type::kUInt32, value, sizeof *value});
}
void View::bindRecord(const FileDecl& decl, const void* record) { s_->records.push_back({&decl, record}); }
void View::clearBindings() {
  s_->variables.clear();
  s_->records.clear();
}

bool View::open() {
  State& s = *s_;
  if (!s.fs().open) {
    setError(kErrNotOpen);
    return false;
  }
  s.open = false;
  s.cursor.clear();
  s.lastRow = 0;
  std::string error;
  std::vector<OrderTerm> terms;
  if (!parseOrder(s.order, s, terms, &error) || !s.pickKey(terms, &error)) {
    setError(kErrBadRequest, 0, "order: " + error);
    return false;
  }
  if (!s.filterExpr.parse(s.filter, s, &error)) {
    setError(kErrBadRequest, 0, "filter: " + error);
    return false;
  }
  s.findPins();
  s.open = true;
  clearError();
  return true;
}

bool View::close() {
  s_->open = false;
  s_->cursor.clear();
  clearError();
  return true;
}

bool View::isOpen() const { return s_->open; }

bool View::set() {
  State& s = *s_;
  if (!s.requireOpen()) return false;
  s.takePinValues();
  s.cursor.start(s.key);
  clearError();
  return true;
}

bool View::setAt() {
  State& s = *s_;
  if (!s.requireOpen()) return false;
  s.takePinValues();
  if (s.key == kPhysical)
    s.cursor.start(s.key);
  else
    s.cursor.startAt(s.key, keyTuple(s.fs().decl, s.key, s.fs().record));
  clearError();
  return true;
}

bool View::next() { return s_->read(true); }
bool View::previous() { return s_->read(false); }

std::string View::position() const {
  if (s_->lastRow == 0) {
    setError(kErrNoRecord);
    return {};
  }
  clearError();
  return std::to_string(s_->lastRow);
}

bool View::reset(std::string_view position) {
  State& s = *s_;
  if (!s.requireOpen()) return false;
  KeyTuple values;
  int64_t row = 0;
  if (!s.fs().locate(s.key, position, values, row)) return false;
  s.takePinValues();
  s.cursor.startAtRow(s.key, std::move(values), row);
  clearError();
  return true;
}

}  // namespace wevo::kf
