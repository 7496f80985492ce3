// Small declarations the keyed-file tests work with (header only; included by
// *_test.cpp files alone).
//
//   Items (prefix ITM): UID ULONG, NAME STRING(20), MARKER STRING(10),
//   NUM LONG, NOTE STRING(30); blob PICTURE; keys
//     0 KEYUID       UID, unique
//     1 KEYNAMEMARK  NAME, MARKER; duplicates; ignoring case
//     2 KEYMARKNUM   MARKER, NUM; duplicates; ignoring case
//   ItemsOld (prefix OLD): the same without NOTE and without the blob.
// Both read their name and owner from itemsName() / itemsOwner().
#ifndef WEVO_PLATFORM_KEYEDFILE_TEST_ITEMS_H_
#define WEVO_PLATFORM_KEYEDFILE_TEST_ITEMS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyedfile/file_decl.h"
#include "wevo/text.h"

namespace wevo::kf::testing {

#pragma pack(push, 1)
struct Item {
  uint32_t UID;
  char NAME[20];
  char MARKER[10];
  int32_t NUM;
  char NOTE[30];
};
struct OldItem {
  uint32_t UID;
  char NAME[20];
  char MARKER[10];
  int32_t NUM;
};
#pragma pack(pop)

enum ItemKey : int { KEYUID = 0, KEYNAMEMARK = 1, KEYMARKNUM = 2 };

inline std::string& itemsName() {
  static std::string n;
  return n;
}
inline std::string& itemsOwner() {
  static std::string o;
  return o;
}

inline std::vector<KeyDecl> itemKeys() {
  return {{"KEYUID", {0}, true, true}, {"KEYNAMEMARK", {1, 2}, false, true}, {"KEYMARKNUM", {2, 3}, false, true}};
}

inline const FileDecl& itemsDecl() {
  static const FileDecl d = [] {
    FileDecl f;
    f.prefix = "ITM";
    f.label = "Items";
    f.recordSize = sizeof(Item);
    f.fields = {{"UID", FieldType::ULong, 0, 4},
                {"NAME", FieldType::String, 4, 20},
                {"MARKER", FieldType::String, 24, 10},
                {"NUM", FieldType::Long, 34, 4},
                {"NOTE", FieldType::String, 38, 30}};
    f.keys = itemKeys();
    f.blob = "PICTURE";
    f.name = [] { return itemsName(); };
    f.owner = [] { return Secret(itemsOwner()); };
    return f;
  }();
  return d;
}

inline const FileDecl& oldItemsDecl() {
  static const FileDecl d = [] {
    FileDecl f;
    f.prefix = "OLD";
    f.label = "Items";
    f.recordSize = sizeof(OldItem);
    f.fields = {{"UID", FieldType::ULong, 0, 4},
                {"NAME", FieldType::String, 4, 20},
                {"MARKER", FieldType::String, 24, 10},
                {"NUM", FieldType::Long, 34, 4}};
    f.keys = itemKeys();
    f.name = [] { return itemsName(); };
    f.owner = [] { return Secret(itemsOwner()); };
    return f;
  }();
  return d;
}

inline Item makeItem(uint32_t uid, std::string_view name, std::string_view marker, int32_t num,
                     std::string_view note = "") {
  Item it{};
  it.UID = uid;
  text::assign(it.NAME, name);
  text::assign(it.MARKER, marker);
  it.NUM = num;
  text::assign(it.NOTE, note);
  return it;
}

}  // namespace wevo::kf::testing

#endif  // WEVO_PLATFORM_KEYEDFILE_TEST_ITEMS_H_
