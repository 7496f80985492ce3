// The SQL of one declaration: table, indexes, metadata and the statements
// that read and write rows. SQL text is made here only, and only from the
// declaration's names (checked to be plain identifiers); every value goes in
// as a bound parameter.
//
// Rows are selected as: column 0 the row id, 1 the row's version, then one
// column per field in declaration order, then the blob when there is one.
#ifndef WEVO_PLATFORM_KEYEDFILE_SCHEMA_H_
#define WEVO_PLATFORM_KEYEDFILE_SCHEMA_H_

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/keyedfile/file_decl.h"

namespace wevo::kf {

class Schema {
 public:
  explicit Schema(const FileDecl& decl);

  const FileDecl& decl() const { return decl_; }
  // False when a name is not a plain identifier, names clash, or a key or
  // field lies outside the record; problem() says which.
  bool usable() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }

  bool validKey(int key) const;  // kPhysical (-1) included
  int componentCount(int key) const;
  const FieldDecl& component(int key, int j) const;
  bool textNoCase(int key, int j) const;  // compared ignoring case

  // The columns every table has besides its fields, and the metadata table.
  static constexpr const char* kRowName = "kf_row";
  static constexpr const char* kVersionName = "kf_version";
  static constexpr const char* kMetaTable = "kf_meta";
  // The metadata's names and the values of "keys".
  static constexpr const char* kMetaLayout = "layout";
  static constexpr const char* kMetaKeys = "keys";
  static constexpr const char* kKeysValid = "valid";
  static constexpr const char* kKeysInvalid = "invalid";

  static constexpr int kRowColumn = 0;
  static constexpr int kVersionColumn = 1;
  static constexpr int kFirstFieldColumn = 2;
  int blobColumn() const;  // -1 without a blob

  // The layout as recorded in the file: fields, types, widths, keys, blob.
  const std::string& signature() const { return signature_; }

  // Schema statements, in order, for a new file (table, metadata, indexes).
  std::vector<std::string> createStatements() const;
  std::vector<std::string> createIndexStatements() const;
  std::vector<std::string> dropIndexStatements() const;
  static const std::string& readMetaSql();   // ?1 name -> value
  static const std::string& writeMetaSql();  // ?1 name, ?2 value

  // Fields bound as ?1.. in declaration order, then the blob.
  const std::string& insertSql() const { return insert_; }
  // Same parameters, then the row id, then (watched) the version read.
  const std::string& updateSql(bool watched) const { return watched ? updateWatched_ : update_; }
  // ?1 row id, ?2 (watched) the version read.
  const std::string& deleteSql(bool watched) const { return watched ? deleteWatched_ : delete_; }
  const std::string& selectByRowSql() const { return selectByRow_; }  // ?1 row id
  const std::string& versionByRowSql() const { return versionByRow_; }  // ?1 row id
  const std::string& countSql() const { return count_; }

  // The first row whose components equal ?1..?n.
  std::string exactSql(int key) const;
  // A row other than ?(n+1) whose components equal ?1..?n.
  std::string duplicateSql(int key) const;
  // Every row whose first `pins` components equal ?1..?pins, in the key's
  // order, row ids last. Memoised.
  const std::string& rangeSql(int key, int pins);
  // The next row (forward) or the previous one in the key's order (kPhysical:
  // row ids), with the first `pins` components equal to ?1..?pins. Bounded:
  // after (or, inclusive, at) the tuple ?1..?n, row id ?(n+1); unbounded: from
  // the start (forward) or the end. Memoised.
  const std::string& seekSql(int key, int pins, bool forward, bool bounded, bool inclusive);

 private:
  std::string componentSql(int key, int j) const;
  std::string orderFrom(int key, int j, bool forward) const;
  std::string select() const;

  const FileDecl& decl_;
  std::string problem_;
  std::string table_;
  std::string columns_;
  std::string signature_;
  std::string insert_, update_, updateWatched_, delete_, deleteWatched_, selectByRow_, versionByRow_, count_;
  std::unordered_map<uint32_t, std::string> seeks_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_SCHEMA_H_
