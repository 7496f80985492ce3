#include "platform/keyedfile/keyed_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/test_items.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

std::string clipped(const char* data, size_t width) { return std::string(text::clip(std::string_view(data, width))); }
template <size_t N>
std::string clipped(const char (&data)[N]) {
  return clipped(data, N);
}

class ItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::itemsName() = dir.file("items.db");
    testing::itemsOwner() = "";
    ASSERT_TRUE(file.create()) << errorText();
    ASSERT_TRUE(file.open()) << errorText();
  }

  void addItem(uint32_t uid, std::string_view name, std::string_view marker, int32_t num, std::string_view note = "") {
    rec = makeItem(uid, name, marker, num, note);
    ASSERT_TRUE(file.add()) << errorCode() << " " << errorText() << " " << driverErrorText();
  }

  // UIDs read by walking `key` from set() forward (or backward).
  std::vector<uint32_t> walk(int key, bool forward = true) {
    std::vector<uint32_t> uids;
    EXPECT_TRUE(key == kPhysical ? file.setPhysical() : file.set(key));
    while (forward ? file.next() : file.previous()) uids.push_back(+rec.UID);
    EXPECT_EQ(errorCode(), kErrNoRecord);
    return uids;
  }

  wevo::testing::TempDir dir;
  Item rec{};
  File file{testing::itemsDecl(), &rec};
};

TEST_F(ItemsTest, OpenCloseAndTheirErrors) {
  EXPECT_TRUE(file.isOpen());
  EXPECT_FALSE(file.open());
  EXPECT_EQ(errorCode(), kErrAlreadyOpen);
  EXPECT_EQ(errorText(), "File already open");
  EXPECT_TRUE(file.isOpen());  // still usable after the refused second open
  addItem(1, "a", "m", 1);
  EXPECT_FALSE(file.create());
  EXPECT_EQ(errorCode(), kErrAlreadyOpen);
  EXPECT_TRUE(file.close());
  EXPECT_EQ(errorCode(), kNoError);
  EXPECT_FALSE(file.next());
  EXPECT_EQ(errorCode(), kErrNotOpen);
  EXPECT_TRUE(file.close());  // closing a closed file is harmless and keeps the last error
  EXPECT_EQ(errorCode(), kErrNotOpen);
  EXPECT_FALSE(file.next());
  EXPECT_EQ(errorCode(), kErrNotOpen);

  Item other{};
  File missing(testing::itemsDecl(), &other);
  missing.setName(dir.file("nothing.db"));
  EXPECT_FALSE(missing.open());
  EXPECT_EQ(errorCode(), kErrNotFound);
  EXPECT_FALSE(File::exists(dir.file("nothing.db")));

  // create() replaces an existing file with an empty one.
  ASSERT_TRUE(file.create());
  ASSERT_TRUE(file.open());
  uint64_t n = 99;
  ASSERT_TRUE(file.records(n));
  EXPECT_EQ(n, 0u);
}

TEST_F(ItemsTest, RecordRoundTripAndKeysIgnoringCaseAndTrailingBlanks) {
  addItem(7, "Main", "?OkButton", -42, "note with  inner  blanks");
  Item added = rec;

  rec = makeItem(0, "MAIN", "?okbutton", 0);
  ASSERT_TRUE(file.get(testing::KEYNAMEMARK)) << errorText();
  EXPECT_EQ(std::memcmp(&rec, &added, sizeof rec), 0);

  rec = makeItem(0, "main   ", "?OKBUTTON  ", 0);
  ASSERT_TRUE(file.get(testing::KEYNAMEMARK));
  EXPECT_EQ(+rec.UID, 7u);

  rec = makeItem(0, "main", "?okbutto", 0);
  EXPECT_FALSE(file.get(testing::KEYNAMEMARK));
  EXPECT_EQ(errorCode(), kErrNoRecord);

  // put rewrites the current row.
  rec = makeItem(7, "", "", 0);
  ASSERT_TRUE(file.get(testing::KEYUID));
  rec.NUM = 2147483647;
  text::assign(rec.NOTE, "changed");
  ASSERT_TRUE(file.put());
  Item changed = rec;
  std::memset(&rec, 0, sizeof rec);
  rec.UID = 7;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(std::memcmp(&rec, &changed, sizeof rec), 0);
  EXPECT_EQ(clipped(rec.NOTE), "changed");

  // Text that is not plain letters survives too (bytes below blank, high bytes).
  Item odd = makeItem(8, std::string("a\0b\x7f\xe9", 5), "x", 0);
  rec = odd;
  ASSERT_TRUE(file.add());
  std::memset(&rec, ' ', sizeof rec);
  rec.UID = 8;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(std::memcmp(&rec, &odd, sizeof rec), 0);

  // A row whose key values collide ignoring case is refused on a unique key only.
  addItem(9, "MAIN", "?okbutton", 1);
  rec = makeItem(7, "x", "y", 0);
  EXPECT_FALSE(file.add());
  EXPECT_EQ(errorCode(), kErrDuplicateKey);
  uint64_t n = 0;
  ASSERT_TRUE(file.records(n));
  EXPECT_EQ(n, 3u);
}

TEST_F(ItemsTest, KeyOrderPhysicalOrderAndBothDirections) {
  addItem(30, "beta", "m", 3);
  addItem(10, "Alpha", "z", 1);
  addItem(20, "alpha", "A", 2);
  addItem(40, "ALPHA", "a", 4);  // equal to 20's key ignoring case: insertion order
  addItem(5, "gamma", "m", 0);

  EXPECT_EQ(walk(testing::KEYUID), (std::vector<uint32_t>{5, 10, 20, 30, 40}));
  EXPECT_EQ(walk(testing::KEYNAMEMARK), (std::vector<uint32_t>{20, 40, 10, 30, 5}));
  EXPECT_EQ(walk(testing::KEYNAMEMARK, false), (std::vector<uint32_t>{5, 30, 10, 40, 20}));
  EXPECT_EQ(walk(kPhysical), (std::vector<uint32_t>{30, 10, 20, 40, 5}));
  EXPECT_EQ(walk(testing::KEYMARKNUM), (std::vector<uint32_t>{20, 40, 5, 30, 10}));

  // previous() right after set() reads the last row: the highest UID.
  ASSERT_TRUE(file.set(testing::KEYUID));
  ASSERT_TRUE(file.previous());
  EXPECT_EQ(+rec.UID, 40u);

  // setAt: first row at or after the buffer's values; previous: last at or before.
  rec = makeItem(0, "alpha", "b", 0);
  ASSERT_TRUE(file.setAt(testing::KEYNAMEMARK));
  ASSERT_TRUE(file.next());
  EXPECT_EQ(+rec.UID, 10u);
  rec = makeItem(0, "ALPHA", "A", 0);
  ASSERT_TRUE(file.setAt(testing::KEYNAMEMARK));
  ASSERT_TRUE(file.previous());
  EXPECT_EQ(+rec.UID, 40u);
  ASSERT_TRUE(file.previous());
  EXPECT_EQ(+rec.UID, 20u);
  EXPECT_FALSE(file.previous());
  EXPECT_EQ(errorCode(), kErrNoRecord);
  EXPECT_EQ(+rec.UID, 20u);  // the buffer is left as it was at the end

  // Turning round mid-walk, and reading back from past the end.
  ASSERT_TRUE(file.set(testing::KEYUID));
  ASSERT_TRUE(file.next());
  ASSERT_TRUE(file.next());
  EXPECT_EQ(+rec.UID, 10u);
  ASSERT_TRUE(file.previous());
  EXPECT_EQ(+rec.UID, 5u);
  rec.UID = 40;
  ASSERT_TRUE(file.setAt(testing::KEYUID));
  ASSERT_TRUE(file.next());
  EXPECT_FALSE(file.next());
  ASSERT_TRUE(file.previous());
  EXPECT_EQ(+rec.UID, 40u);

  EXPECT_FALSE(file.set(7));
  EXPECT_EQ(errorCode(), kErrBadRequest);
}

TEST_F(ItemsTest, WalksSeeRowsAddedAndDeletedMeanwhile) {
  for (uint32_t i = 1; i <= 6; ++i) addItem(i * 10, "n", "m", static_cast<int32_t>(i));
  ASSERT_TRUE(file.set(testing::KEYUID));
  ASSERT_TRUE(file.next());
  ASSERT_TRUE(file.next());
  EXPECT_EQ(+rec.UID, 20u);
  ASSERT_TRUE(file.del());  // the walk goes on after the deleted row
  Item keep = rec;
  addItem(25, "n", "m", 0);  // added ahead of the walk: read in turn
  rec = keep;
  std::vector<uint32_t> rest;
  while (file.next()) rest.push_back(+rec.UID);
  EXPECT_EQ(rest, (std::vector<uint32_t>{25, 30, 40, 50, 60}));
  // At the end the buffer and the current row are still the last row read.
  EXPECT_EQ(+rec.UID, 60u);
  rec.NUM = 600;
  ASSERT_TRUE(file.put());
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(+rec.NUM, 600);
  ASSERT_TRUE(file.set(testing::KEYUID));
  ASSERT_TRUE(file.next());
  ASSERT_TRUE(file.del());
  EXPECT_FALSE(file.del());  // no current row any more
  EXPECT_EQ(errorCode(), kErrNoRecord);
  EXPECT_EQ(walk(testing::KEYUID), (std::vector<uint32_t>{25, 30, 40, 50, 60}));
}

TEST_F(ItemsTest, PositionsBringTheSameRowBack) {
  addItem(1, "b", "m", 1);
  addItem(2, "a", "m", 2);
  addItem(3, "c", "m", 3);
  rec = makeItem(0, "a", "m", 0);
  ASSERT_TRUE(file.get(testing::KEYNAMEMARK));
  std::string pos = file.position(testing::KEYNAMEMARK);
  ASSERT_FALSE(pos.empty());
  EXPECT_EQ(file.position(), pos);

  // reget reads it again, blank padding (as a 512-character field holds it) included.
  rec = makeItem(0, "zzz", "", 0);
  std::string padded = pos + std::string(512 - pos.size(), ' ');
  ASSERT_TRUE(file.reget(padded));
  EXPECT_EQ(+rec.UID, 2u);

  // reset positions the key's order at the row: next and previous read it first.
  ASSERT_TRUE(file.reset(testing::KEYNAMEMARK, pos));
  ASSERT_TRUE(file.next());
  EXPECT_EQ(+rec.UID, 2u);
  ASSERT_TRUE(file.next());
  EXPECT_EQ(+rec.UID, 1u);
  ASSERT_TRUE(file.reset(testing::KEYNAMEMARK, pos));
  ASSERT_TRUE(file.previous());
  EXPECT_EQ(+rec.UID, 2u);
  EXPECT_FALSE(file.previous());
  ASSERT_TRUE(file.reset(kPhysical, pos));
  ASSERT_TRUE(file.next());
  ASSERT_TRUE(file.next());
  EXPECT_EQ(+rec.UID, 3u);

  // A position survives closing and opening.
  ASSERT_TRUE(file.close());
  ASSERT_TRUE(file.open());
  ASSERT_TRUE(file.reget(pos));
  EXPECT_EQ(+rec.UID, 2u);

  // Gone rows and nonsense give 33.
  ASSERT_TRUE(file.del());
  EXPECT_FALSE(file.reget(pos));
  EXPECT_EQ(errorCode(), kErrNoRecord);
  EXPECT_FALSE(file.reset(testing::KEYUID, pos));
  EXPECT_EQ(errorCode(), kErrNoRecord);
  EXPECT_FALSE(file.reget("12x"));
  EXPECT_EQ(errorCode(), kErrNoRecord);
  EXPECT_FALSE(file.reget(""));
  EXPECT_EQ(errorCode(), kErrNoRecord);
  EXPECT_TRUE(file.position().empty());
  EXPECT_EQ(errorCode(), kErrNoRecord);
}

TEST_F(ItemsTest, DuplicateCheckLooksAtOtherRowsOnly) {
  addItem(1, "a", "m", 1);
  addItem(2, "b", "m", 2);
  rec = makeItem(1, "zz", "zz", 0);
  EXPECT_TRUE(file.duplicateCheck(testing::KEYUID));
  EXPECT_EQ(errorCode(), kErrDuplicateKey);
  rec.UID = 3;
  EXPECT_FALSE(file.duplicateCheck(testing::KEYUID));
  EXPECT_EQ(errorCode(), kNoError);
  // The current row does not count against itself.
  rec.UID = 2;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_FALSE(file.duplicateCheck(testing::KEYUID));
  text::assign(rec.NAME, "A");
  EXPECT_TRUE(file.duplicateCheck(testing::KEYNAMEMARK));
}

TEST_F(ItemsTest, BlobTravelsWithItsRow) {
  std::string bytes("\x00\x01picture\xff", 10);
  EXPECT_FALSE(file.blobChanged());
  ASSERT_TRUE(file.blobSet(bytes));
  EXPECT_TRUE(file.blobChanged());
  EXPECT_EQ(file.blobSize(), 10u);
  addItem(1, "with", "blob", 1);
  EXPECT_FALSE(file.blobChanged());
  ASSERT_TRUE(file.blobSetSize(0));
  addItem(2, "without", "blob", 2);

  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(file.blobGet(), bytes);
  rec.UID = 2;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(file.blobSize(), 0u);

  // put writes the blob too; growing pads with zero bytes.
  ASSERT_TRUE(file.blobSetSize(3));
  EXPECT_EQ(file.blobGet(), std::string(3, '\0'));
  ASSERT_TRUE(file.blobSet("new"));
  ASSERT_TRUE(file.put());
  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  rec.UID = 2;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(file.blobGet(), "new");

  // A declaration without a blob keeps none.
  testing::OldItem old{};
  File noBlob(testing::oldItemsDecl(), &old);
  EXPECT_FALSE(noBlob.blobSet("x"));
  EXPECT_EQ(errorCode(), kErrBadRequest);
  EXPECT_TRUE(noBlob.blobSetSize(0));
  EXPECT_EQ(noBlob.blobSize(), 0u);
}

TEST_F(ItemsTest, TransactionsCommitOrLeaveNothing) {
  addItem(1, "kept", "m", 1);
  ASSERT_TRUE(file.begin(2));
  EXPECT_FALSE(file.begin(2));
  EXPECT_EQ(errorCode(), kErrTransactionActive);
  addItem(2, "gone", "m", 2);
  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  text::assign(rec.NOTE, "changed in vain");
  ASSERT_TRUE(file.put());
  ASSERT_TRUE(file.rollback());
  EXPECT_EQ(walk(testing::KEYUID), (std::vector<uint32_t>{1}));
  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  EXPECT_EQ(clipped(rec.NOTE), "");

  ASSERT_TRUE(file.begin(2));
  addItem(3, "committed", "m", 3);
  ASSERT_TRUE(file.commit());
  EXPECT_FALSE(file.commit());
  EXPECT_EQ(errorCode(), kErrNoTransaction);
  EXPECT_FALSE(file.rollback());
  EXPECT_EQ(errorCode(), kErrNoTransaction);

  // Closing inside a transaction rolls it back.
  ASSERT_TRUE(file.begin(2));
  addItem(4, "dropped", "m", 4);
  ASSERT_TRUE(file.close());
  ASSERT_TRUE(file.open());
  EXPECT_EQ(walk(testing::KEYUID), (std::vector<uint32_t>{1, 3}));
}

TEST_F(ItemsTest, SecondConnectionOfOneThreadReadsWhileTheFirstWrites) {
  Item other{};
  File second(testing::itemsDecl(), &other);
  ASSERT_TRUE(second.open());
  addItem(1, "a", "m", 1);
  addItem(2, "b", "m", 2);

  ASSERT_TRUE(file.begin(2));
  addItem(3, "c", "m", 3);
  // The other connection reads the committed rows; its statements are reset
  // after every read, so the commit below is not held up by it.
  ASSERT_TRUE(second.set(testing::KEYUID));
  ASSERT_TRUE(second.next());
  EXPECT_EQ(+other.UID, 1u);
  ASSERT_TRUE(second.next());
  EXPECT_EQ(+other.UID, 2u);
  EXPECT_FALSE(second.next());
  ASSERT_TRUE(file.commit()) << errorText() << " " << driverErrorText();
  ASSERT_TRUE(second.next());
  EXPECT_EQ(+other.UID, 3u);
}

TEST_F(ItemsTest, WatchedRowRewrittenElsewhereIsRefused) {
  addItem(1, "row", "m", 1);
  Item other{};
  File station(testing::itemsDecl(), &other);
  ASSERT_TRUE(station.open());

  ASSERT_TRUE(file.watch());
  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  other.UID = 1;
  ASSERT_TRUE(station.get(testing::KEYUID));
  other.NUM = 100;
  ASSERT_TRUE(station.put());

  rec.NUM = 5;
  EXPECT_FALSE(file.put());
  EXPECT_EQ(errorCode(), kErrChanged);
  EXPECT_EQ(errorText(), "Record changed by another station");
  EXPECT_FALSE(file.del());
  EXPECT_EQ(errorCode(), kErrChanged);

  // Reading it again shows the other station's version; then the put goes through,
  // and so does a second put of our own.
  std::string pos = file.position();
  ASSERT_TRUE(file.watch());
  ASSERT_TRUE(file.reget(pos));
  EXPECT_EQ(+rec.NUM, 100);
  rec.NUM = 6;
  ASSERT_TRUE(file.put());
  rec.NUM = 7;
  ASSERT_TRUE(file.put());
  ASSERT_TRUE(station.get(testing::KEYUID));
  EXPECT_EQ(+other.NUM, 7);

  // Without watch, the last writer wins.
  other.NUM = 8;
  ASSERT_TRUE(station.put());
  rec.NUM = 9;
  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  other.NUM = 10;
  ASSERT_TRUE(station.put());
  ASSERT_TRUE(file.put());

  // A watched row deleted elsewhere: 33.
  ASSERT_TRUE(file.watch());
  ASSERT_TRUE(file.get(testing::KEYUID));
  ASSERT_TRUE(station.del());
  EXPECT_FALSE(file.put());
  EXPECT_EQ(errorCode(), kErrNoRecord);
}

TEST_F(ItemsTest, BulkLoadLeavesKeysDamagedUntilBuilt) {
  ASSERT_TRUE(file.stream());
  for (uint32_t i = 1; i <= 50; ++i) {
    rec = makeItem(51 - i, "bulk", "m", static_cast<int32_t>(i));
    ASSERT_TRUE(file.append()) << errorText();
  }
  ASSERT_TRUE(file.flush());
  ASSERT_TRUE(file.close());

  EXPECT_FALSE(file.open());
  EXPECT_EQ(errorCode(), kErrKeysDamaged);
  EXPECT_FALSE(file.isOpen());
  ASSERT_TRUE(file.build()) << errorText();  // on the closed file
  ASSERT_TRUE(file.open()) << errorText();
  std::vector<uint32_t> uids = walk(testing::KEYUID);
  ASSERT_EQ(uids.size(), 50u);
  for (uint32_t i = 0; i < 50; ++i) EXPECT_EQ(uids[i], i + 1);

  // Appends skip the unique check, so the build finds the duplicate.
  rec = makeItem(7, "again", "m", 0);
  ASSERT_TRUE(file.append());
  EXPECT_FALSE(file.build());
  EXPECT_EQ(errorCode(), kErrDuplicateKey);
  ASSERT_TRUE(file.del());
  ASSERT_TRUE(file.build()) << errorText();
  ASSERT_TRUE(file.close());
  ASSERT_TRUE(file.open());
}

TEST_F(ItemsTest, DriverCommandsAndErrorTexts) {
  EXPECT_TRUE(file.send("Recover=10"));
  EXPECT_TRUE(file.send(" recover=0 "));
  EXPECT_FALSE(file.send("Recover=ten"));
  EXPECT_EQ(errorCode(), kErrBadRequest);
  EXPECT_FALSE(file.send("Shrink"));
  for (int code : {kErrNotFound, kErrAccessDenied, kErrLocked, kErrNoRecord, kErrBadPassword, kErrNotOpen,
                   kErrDuplicateKey, kErrKeysDamaged, kErrLayout, kErrAlreadyOpen, kErrTransactionActive,
                   kErrBadRequest, kErrChanged, kErrDriver, kErrNoTransaction}) {
    EXPECT_FALSE(errorTextFor(code).empty()) << code;
    EXPECT_NE(errorTextFor(code), "Unknown error") << code;
  }
  EXPECT_EQ(errorTextFor(kNoError), "");
  EXPECT_EQ(errorTextFor(12345), "Unknown error");
}

TEST(KeyedFileNames, NameAndOwnerAreReadAtOpenUnlessSetOnTheInstance) {
  wevo::testing::TempDir dir;
  Item rec{};
  File file(testing::itemsDecl(), &rec);
  testing::itemsName() = dir.file("first.db");
  testing::itemsOwner() = "";
  EXPECT_EQ(file.name(), dir.file("first.db"));
  ASSERT_TRUE(file.create());
  testing::itemsName() = dir.file("second.db   ");
  EXPECT_EQ(file.name(), dir.file("second.db"));  // read now, trailing blanks cut
  ASSERT_TRUE(file.create());
  EXPECT_TRUE(File::exists(dir.file("first.db")));
  EXPECT_TRUE(File::exists(dir.file("second.db")));

  file.setName(dir.file("third.db"));
  file.setOwner("pw");
  testing::itemsName() = dir.file("ignored.db");
  EXPECT_EQ(file.name(), dir.file("third.db"));
  EXPECT_EQ(file.owner().view(), "pw");
  ASSERT_TRUE(file.create());
  EXPECT_FALSE(File::exists(dir.file("ignored.db")));
  file.useDeclaredName();
  file.useDeclaredOwner();
  EXPECT_EQ(file.name(), dir.file("ignored.db"));
  EXPECT_EQ(file.owner().view(), "");

  // An unusable declaration is refused, not half created.
  FileDecl bad = testing::itemsDecl();
  bad.fields[1].name = "NAME\"; DROP";
  File badFile(bad, &rec);
  badFile.setName(dir.file("bad.db"));
  EXPECT_FALSE(badFile.create());
  EXPECT_EQ(errorCode(), kErrBadRequest);
  EXPECT_FALSE(File::exists(dir.file("bad.db")));
}

}  // namespace
}  // namespace wevo::kf
