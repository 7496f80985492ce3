#include "store/window_controls.h"

#include "store/store_context.h"

namespace wevo::store {
namespace {

#define WEVO_FIELD_DECL(name, type, width, offset) {#name, kf::FieldType::type, offset, width},

std::vector<kf::FieldDecl> firstFields() {
  return {WEVO_WINDOWCONTROLS_FIRST_FIELDS(WEVO_FIELD_DECL)};
}

std::vector<kf::FieldDecl> allFields() {
  return {WEVO_WINDOWCONTROLS_FIRST_FIELDS(WEVO_FIELD_DECL) WEVO_WINDOWCONTROLS_ADDED_FIELDS(WEVO_FIELD_DECL)};
}

#undef WEVO_FIELD_DECL

// Field indexes of the key components; the same in both layouts.
constexpr int kUid = 0, kProcedure = 1, kMarker = 2, kLabel = 3, kFeq = 4, kOrder = 5;

std::vector<kf::KeyDecl> keys() {
  return {
      {"KEYUID", {kUid}, true, true},
      {"KEYPROCEDUREMARKERLABEL", {kProcedure, kMarker, kLabel}, false, true},
      {"KEYPROCEDUREMARKERFEQ", {kProcedure, kMarker, kFeq}, false, true},
      {"ORDERKEY", {kProcedure, kMarker, kOrder}, false, true},
  };
}

kf::FileDecl makeDecl(const char* prefix, uint32_t size, std::vector<kf::FieldDecl> fields,
                      const char* blob) {
  kf::FileDecl d;
  d.prefix = prefix;
  d.label = kTableLabel;
  d.recordSize = size;
  d.fields = std::move(fields);
  d.keys = keys();
  d.blob = blob;
  d.name = [] { return boundStoreName(); };
  d.owner = [] { return boundStoreOwner(); };
  return d;
}

}  // namespace

const kf::FileDecl& winDecl() {
  static const kf::FileDecl d = makeDecl("WIN", sizeof(WindowControls), allFields(), "IMAGEBLOB");
  return d;
}

const kf::FileDecl& win2Decl() {
  static const kf::FileDecl d = makeDecl("WIN2", sizeof(WindowControls), allFields(), "IMAGEBLOB");
  return d;
}

const kf::FileDecl& win001Decl() {
  static const kf::FileDecl d = makeDecl("WIN_001", sizeof(WindowControls001), firstFields(), "");
  return d;
}

}  // namespace wevo::store
