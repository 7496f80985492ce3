#include "apply/row_identity.h"

#include "platform/keyedfile/file_decl.h"
#include "wevo/text.h"

namespace wevo::apply {
namespace {

// `value` as a field of `width` bytes keeps it: cut, trailing blanks dropped.
std::string_view asStored(std::string_view value, size_t width) {
  return text::clip(value.substr(0, value.size() < width ? value.size() : width));
}

}  // namespace

void SetRowKey(store::WindowControls& row, std::string_view procedureName, std::string_view uniqueMarker,
               std::string_view label) {
  kf::clearRecord(store::winDecl(), &row);
  text::assign(row.PROCEDURENAME, text::clip(procedureName));
  text::assign(row.UNIQUEMARKER, uniqueMarker);
  text::assign(row.CONTROLLABEL, text::clip(label));
}

void SetNewRowIdentity(store::WindowControls& row, int field, std::string_view label) {
  if (field == 0 && text::sameNoCase(label, store::kWindowLabel))
    text::assign(row.DESCRIPTION, store::kWindowLabel);
  else
    text::assign(row.DESCRIPTION, label.empty() ? label : label.substr(1));
  row.FEQ = field;
  row.ORDER = field;
}

std::string RowLabel(const Window& window, int field) {
  return field == 0 ? std::string(store::kWindowLabel) : window.label(field);
}

bool RowBelongsTo(const store::WindowControls& row, std::string_view procedureName,
                  std::string_view uniqueMarker) {
  return text::sameNoCase(text::field(row.UNIQUEMARKER), asStored(uniqueMarker, sizeof row.UNIQUEMARKER)) &&
         text::sameNoCase(text::field(row.PROCEDURENAME), asStored(procedureName, sizeof row.PROCEDURENAME));
}

bool LabelMatches(std::string_view liveLabel, const store::WindowControls& row) {
  return text::sameClipped(text::field(row.CONTROLLABEL), asStored(liveLabel, sizeof row.CONTROLLABEL));
}

std::string KeyLabel(std::string_view label) {
  std::string key(asStored(label, sizeof(store::WindowControls::CONTROLLABEL)));
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

bool IsWindowRow(const store::WindowControls& row) {
  return row.FEQ == 0 && text::sameNoCase(text::field(row.CONTROLLABEL), store::kWindowLabel);
}

}  // namespace wevo::apply
