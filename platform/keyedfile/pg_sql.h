// The SQL of one declaration on a PostgreSQL server: the same table, columns
// and metadata as a file's (schema.h), in the server's words. Text is made
// here only, and only from the declaration's names (checked by Schema to be
// plain identifiers) and this layer's constants; every value is a bound
// parameter ($1, $2, ...). Tables are named without their schema: a
// connection works in its store's schema (its search path).
//
// Storage: one column per field (numbers bigint, text `text COLLATE "C"`
// without trailing blanks, the blob bytea), "kf_row" an identity column that
// gives the physical (insertion) order and the rows' positions, "kf_version"
// the row's version for watched rewrites. One index per key named
// "<label>_<key>"; a text component that ignores case is indexed and compared
// as lower(column) under the "C" collation, which folds the ASCII letters
// only and orders by character number, exactly as a file's keys do; keys that
// allow duplicates end in "kf_row", so that equal values come in insertion
// order straight from the index.
#ifndef WEVO_PLATFORM_KEYEDFILE_PG_SQL_H_
#define WEVO_PLATFORM_KEYEDFILE_PG_SQL_H_

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/keyedfile/schema.h"

namespace wevo::kf {

class PgSql {
 public:
  explicit PgSql(const Schema& schema);

  // The store's tables (left alone when they exist) and its indexes.
  std::vector<std::string> tableStatements() const;
  std::vector<std::string> createIndexStatements() const;
  std::vector<std::string> dropIndexStatements() const;
  // Creates the schema named by the setting "wevo.schema" unless it exists
  // (so that a role allowed only into a schema an administrator made needs
  // no right to create schemas).
  static const std::string& createSchemaSql();
  // Drops the store's tables (the metadata's and the one its layout names)
  // from the schema named by "wevo.schema"; the schema stays.
  static const std::string& dropStoreSql();
  // -> layout, keys (nulls when missing).
  static const std::string& readMetaSql();
  // $1 name, $2 value: written, replacing; or only when missing (returning
  // a row when it was written).
  static const std::string& writeMetaSql();
  static const std::string& addMetaSql();
  // Whether the metadata table exists in the connection's schema.
  static const std::string& existsSql();

  // Fields as $1.. in declaration order, then the blob; a row whose unique
  // keys are taken is not added (no row returned). -> kf_row.
  const std::string& insertSql() const { return insert_; }
  // The same parameters, then the row id, then (watched) the version read;
  // the row is left as it is when the new values would take another row's
  // unique key. -> the new version.
  const std::string& updateSql(bool watched) const { return watched ? updateWatched_ : update_; }
  // $1 row id, $2 (watched) the version read. -> a row when deleted.
  const std::string& deleteSql(bool watched) const { return watched ? deleteWatched_ : delete_; }
  const std::string& selectByRowSql() const { return byRow_; }   // $1 row id
  const std::string& versionByRowSql() const { return version_; }  // $1 row id
  const std::string& countSql() const { return count_; }

  // The first row whose components equal $1..$n.
  const std::string& exactSql(int key);
  // A row other than $(n+1) whose components equal $1..$n.
  const std::string& duplicateSql(int key);
  // Every row whose first `pins` components equal $1..$pins, in the key's order.
  const std::string& rangeSql(int key, int pins);
  // The next (forward) or previous row in the key's order (kPhysical: row
  // ids) among those whose first `pins` components equal $1..$pins.
  // Bounded: beyond (inclusive: at or beyond) the values of the other
  // components, $(pins+1)..$n, and the row id $(n+1); unbounded: from the
  // start or the end.
  const std::string& seekSql(int key, int pins, bool forward, bool bounded, bool inclusive);

 private:
  std::string component(int key, int j, const std::string& table = "") const;
  std::string parameter(int key, int j, int number) const;
  std::string order(int key, bool forward) const;
  std::string equalities(int key, int count, const std::string& table = "") const;

  const Schema& schema_;
  std::string table_, select_;
  std::string insert_, update_, updateWatched_, delete_, deleteWatched_, byRow_, version_, count_;
  std::unordered_map<uint32_t, std::string> memo_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_PG_SQL_H_
