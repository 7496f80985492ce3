#include "admin/layout_json.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "admin/base64.h"
#include "admin/test_admin.h"

namespace wevo::admin {
namespace {

using testing::fullRow;
using testing::sameRow;

std::string document(const std::vector<StoredRow>& rows) {
  std::ostringstream out;
  LayoutWriter writer(out);
  for (const StoredRow& r : rows) writer.add(r);
  writer.finish();
  return out.str();
}

TEST(LayoutJson, EveryFieldAndTheBlobComeBackAsWritten) {
  std::vector<StoredRow> rows = {fullRow(1, "Main", "COLORS", "?OkButton"), fullRow(2, "Main", "COLORS", "WINDOW"),
                                 fullRow(3, "Other", "Desk 2", "?Name")};
  rows[2].blob.clear();
  const std::string text = document(rows);
  const ParsedLayouts parsed = parseLayouts(text);
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  ASSERT_EQ(parsed.rows.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_TRUE(sameRow(parsed.rows[i], rows[i], true)) << "row " << i;
    EXPECT_EQ(parsed.rows[i].index, i);
  }
  EXPECT_EQ(parsed.rows[0].line, 5);  // "{", three header lines, "rows" opens row 0's object

  // Keys in the record's order, then the blob; texts that are not UTF-8 as
  // base64 of their bytes, UTF-8 as it stands.
  const nlohmann::ordered_json first = rowToJson(rows[0]);
  std::vector<std::string> keys;
  for (const auto& item : first.items()) keys.push_back(item.key());
  ASSERT_EQ(keys.size(), 80u);
  for (size_t i = 0; i < 79; ++i) EXPECT_EQ(keys[i], store::winDecl().fields[i].name);
  EXPECT_EQ(keys[79], "IMAGEBLOB");
  EXPECT_EQ(first["CURSOR"]["base64"], base64Encode(std::string("\xFF\x01\x02\x7F", 4) + "1"));
  EXPECT_EQ(first["MESSAGE"], "Größe 1");
  EXPECT_EQ(first["X"], rows[0].record.X);

  // The same rows always give the same text, so exports diff well.
  EXPECT_EQ(document(rows), text);
  EXPECT_EQ(document({}), "{\n  \"format\": \"wevo-layouts\",\n  \"version\": 1,\n  \"rows\": []\n}\n");
  EXPECT_TRUE(parseLayouts(document({})).ok());

  // A row may leave fields out: they are cleared.
  const ParsedLayouts small = parseLayouts(
      R"({"format": "wevo-layouts", "version": 1, "rows": [
          {"PROCEDURENAME": "Main", "UNIQUEMARKER": "M", "CONTROLLABEL": "?A", "X": 7, "TIP": "tip   "}]})");
  ASSERT_TRUE(small.ok()) << small.error;
  EXPECT_EQ(small.rows[0].record.X, 7);
  EXPECT_EQ(small.rows[0].record.Y, 0);
  EXPECT_EQ(text::clipped(small.rows[0].record.TIP), "tip");
  EXPECT_EQ(text::field(small.rows[0].record.ICON), std::string(128, ' '));
  EXPECT_TRUE(small.rows[0].blob.empty());
}

// What the reader must refuse, and the place and reason it must give.
struct Refused {
  const char* what;
  std::string text;
  std::vector<std::string> says;
};

std::string oneRow(const std::string& fields) {
  return "{\n\"format\": \"wevo-layouts\",\n\"version\": 1,\n\"rows\": [\n{\"PROCEDURENAME\": \"Main\", "
         "\"UNIQUEMARKER\": \"M\",\n\"CONTROLLABEL\": \"?A\"" +
         fields + "}\n]\n}\n";
}

TEST(LayoutJson, RefusesWhatTheRecordCannotHoldAndSaysWhere) {
  const std::string row = R"({"PROCEDURENAME": "Main", "UNIQUEMARKER": "M", "CONTROLLABEL": "?A"})";
  const std::vector<Refused> cases = {
      {"broken JSON", "{\n\"format\": \"wevo-layouts\",\n\"version\": 1,\n\"rows\": [ {,\n]}", {"not JSON", "line 4"}},
      {"text after the document", document({}) + "{}", {"not JSON", "line 6"}},
      {"a number for a text",
       oneRow(",\n\"TIP\": 12"),
       {"line 7: rows[0].TIP: expected a text of at most 256 bytes, found 12"}},
      {"a text for a number", oneRow(",\n\"X\": \"ten\""), {"line 7: rows[0].X: expected a whole number", "\"ten\""}},
      {"a fraction", oneRow(",\n\"X\": 1.5"), {"rows[0].X", "found 1.5"}},
      {"out of range", oneRow(",\n\"X\": 2147483648"), {"rows[0].X", "-2147483648 to 2147483647", "2147483648"}},
      {"a negative number", oneRow(",\n\"UID\": -1"), {"rows[0].UID", "from 0 to 4294967295"}},
      {"true for a number", oneRow(",\n\"HIDE\": true"), {"rows[0].HIDE", "found true"}},
      {"over-long text",
       oneRow(",\n\"TIP\": \"" + std::string(257, 'x') + "\""),
       {"line 7: rows[0].TIP: a text of 257 bytes; the field holds 256"}},
      {"over-long bytes",
       oneRow(",\n\"HELP\": {\"base64\": \"" + base64Encode(std::string(41, 'h')) + "\"}"),
       {"rows[0].HELP.base64: a text of 41 bytes; the field holds 40"}},
      {"unknown field", oneRow(",\n\"COLOUR\": 1"), {"line 7: rows[0]: \"COLOUR\" is no field of the record"}},
      {"field in lower case", oneRow(",\n\"x\": 1"), {"rows[0]: \"x\" is no field", "capitals: \"X\""}},
      {"duplicate key", oneRow(",\n\"X\": 1,\n\"X\": 2"), {"line 8: rows[0]: \"X\" is given twice"}},
      {"duplicate row",
       "{\"format\": \"wevo-layouts\", \"version\": 1, \"rows\": [\n" + row + ",\n" +
           R"({"PROCEDURENAME": "MAIN", "UNIQUEMARKER": "m", "CONTROLLABEL": "?a"})" + "]}",
       {"line 3: rows[1]: the same row as rows[0] (line 2)", "(\"MAIN\", \"m\", \"?a\")"}},
      {"missing label",
       "{\"format\": \"wevo-layouts\", \"version\": 1, \"rows\": [\n{\"PROCEDURENAME\": \"Main\", "
       "\"UNIQUEMARKER\": \"M\"}]}",
       {"rows[0]: no \"CONTROLLABEL\""}},
      {"bad blob", oneRow(",\n\"IMAGEBLOB\": \"QR==\""), {"rows[0].IMAGEBLOB: not base64"}},
      {"a blob that is no text",
       oneRow(",\n\"IMAGEBLOB\": [1, 2]"),
       {"rows[0].IMAGEBLOB: expected the blob as base64"}},
      {"an object for a number", oneRow(",\n\"X\": {\"base64\": \"AA==\"}"), {"rows[0].X: expected a whole number"}},
      {"another key in a text object", oneRow(",\n\"TIP\": {\"hex\": \"00\"}"), {"\"hex\": a text given as an object"}},
      {"a row that is no object",
       "{\"format\": \"wevo-layouts\", \"version\": 1, \"rows\": [\n" + row + ", 5]}",
       {"rows[1]: a row is an object of fields, found 5"}},
      {"a newer version",
       "{\"format\": \"wevo-layouts\",\n\"version\": 2, \"rows\": []}",
       {"line 2: version: format version 2; this wevoadmin reads version 1"}},
      {"another format", "{\"format\": \"layouts\", \"version\": 1, \"rows\": []}", {"not a layouts file"}},
      {"no rows", "{\"format\": \"wevo-layouts\", \"version\": 1}", {"the document has no \"rows\""}},
      {"an array", "[]", {"the document is an array"}},
      {"another key",
       "{\"format\": \"wevo-layouts\", \"version\": 1, \"rows\": [], \"extra\": 1}",
       {"\"extra\" is not a key of the document"}},
  };
  for (const Refused& c : cases) {
    const ParsedLayouts parsed = parseLayouts(c.text);
    EXPECT_FALSE(parsed.ok()) << c.what;
    EXPECT_TRUE(parsed.rows.empty()) << c.what;
    for (const std::string& part : c.says)
      EXPECT_NE(parsed.error.find(part), std::string::npos) << c.what << ": " << parsed.error << "\nlacks: " << part;
  }
}

TEST(Base64, OnlyTheCanonicalFormIsRead) {
  std::string bytes;
  for (int n = 0; n < 7; ++n) {
    const std::string encoded = base64Encode(bytes);
    EXPECT_EQ(encoded.size() % 4, 0u);
    EXPECT_EQ(base64Decode(encoded), bytes);
    bytes.push_back(static_cast<char>(0xF0 + n));
  }
  EXPECT_EQ(base64Encode("Man"), "TWFu");
  EXPECT_EQ(base64Encode("Ma"), "TWE=");
  EXPECT_EQ(base64Encode("M"), "TQ==");
  for (const char* bad : {"TQ=", "TR==", "TWF=", "TQ==TQ==", "T=Q=", "TW u", "TWFu\n", "TW-u", "===="})
    EXPECT_FALSE(base64Decode(bad).has_value()) << bad;
}

}  // namespace
}  // namespace wevo::admin
