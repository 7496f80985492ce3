// libFuzzer target over the reader of layouts files, the text `wevoadmin
// import` checks before anything reaches a store. Whatever the bytes, the
// reader must either refuse them with a reason that names the place, or
// give rows that written out again and read back are the same rows, byte
// for byte; anything else aborts, which libFuzzer reports with the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>

#include "admin/layout_json.h"

namespace {

using wevo::admin::LayoutWriter;
using wevo::admin::ParsedLayouts;
using wevo::admin::parseLayouts;

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "layout_import_fuzz: %s\n%s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ParsedLayouts parsed = parseLayouts(text);
  if (!parsed.ok()) {
    if (!parsed.rows.empty()) fail("refused, but with rows", parsed.error);
    if (parsed.error.rfind("line ", 0) != 0 && parsed.error.rfind("not JSON", 0) != 0)
      fail("a refusal that names no place", parsed.error);
    return 0;
  }
  std::ostringstream out;
  LayoutWriter writer(out);
  for (const auto& row : parsed.rows) writer.add(row);
  writer.finish();
  const ParsedLayouts again = parseLayouts(out.str());
  if (!again.ok()) fail("what was written cannot be read back", again.error + "\n" + out.str());
  if (again.rows.size() != parsed.rows.size()) fail("rows lost on the way back", out.str());
  for (size_t i = 0; i < parsed.rows.size(); ++i) {
    if (std::memcmp(&again.rows[i].record, &parsed.rows[i].record, sizeof parsed.rows[i].record) != 0 ||
        again.rows[i].blob != parsed.rows[i].blob)
      fail("a row changed on the way back", out.str());
  }
  return 0;
}
