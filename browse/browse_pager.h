// The page-loaded list of the processed-controls browse: the browse queue
// holds one page of the rows of one procedure and marker, read through an
// ordered, filtered view of the store, and further rows are read only as the
// selection passes the page's edge.
//
// The view lists the WindowControls rows in the order
//   "+UPPER(WIN:ProcedureName),+UPPER(WIN:UniqueMarker),+UPPER(WIN:ControlLabel)"
// under the filter
//   "UPPER(WIN:ProcedureName) = UPPER(BRW1::Sort1:Save:WIN:ProcedureName) AND
//    UPPER(WIN:UniqueMarker) = UPPER(LOC:UniqueMarker)",
// the two names bound to the caller's variables (read whenever the view is
// positioned) and the records WIN and WIN2 bound whole. The filter pins the
// order key's first two parts, so the view reads only that range: loading a
// page reads about a page of rows, whatever else the store holds.
//
// Every read goes through store::winFile() and its buffer store::WIN(),
// which must be open whenever the view is. A read that fails other than at
// the end of the rows makes the operation return false; the queue then holds
// what was read before it.
#ifndef WEVO_BROWSE_BROWSE_PAGER_H_
#define WEVO_BROWSE_BROWSE_PAGER_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "browse/browse_rows.h"
#include "platform/keyedfile/view.h"

namespace wevo::browse {

class BrowsePager {
 public:
  // `procedure` (BRW1::Sort1:Save:WIN:ProcedureName) and `marker`
  // (LOC:UniqueMarker) must outlive the pager.
  BrowsePager(const char (&procedure)[80], const char (&marker)[80]);
  BrowsePager(const BrowsePager&) = delete;
  BrowsePager& operator=(const BrowsePager&) = delete;

  // Rows per page (at least 1): as many as the list shows.
  void setPageSize(size_t rows) { page_ = rows == 0 ? 1 : rows; }
  size_t pageSize() const { return page_; }

  // Closes the view, sets its order and filter, opens it again and puts it
  // at the start of the procedure's and marker's rows. False when the view
  // cannot be set up (the thread's keyed-file error tells why).
  bool Reset();
  void Close();
  bool isOpen() const { return view_.isOpen(); }

  // The queue: one page at most, in the view's order.
  const BrowseQueue& rows() const { return rows_; }
  // Drops row `index` (0-based) from the queue, reading nothing.
  void Remove(size_t index);

  // Loads the first (last) page.
  bool LoadFirst();
  bool LoadLast();
  // Loads the page that starts at the row at `position` (a row's position
  // in the store); when that row is gone, at the first row whose label is
  // not before `label`. When the rows from there do not fill a page, the
  // rows before them fill it up. `index` gets the 0-based place of that row
  // in the queue (the queue's size when no row lies at or after it).
  bool LoadFrom(std::string_view position, std::string_view label, size_t& index);
  // The same from the first row whose label is not before `label`
  // (compared as the order compares: upper case).
  bool LoadAtLabel(std::string_view label, size_t& index);

  // Moves the selected row (1-based; 0: none) `delta` rows down (negative:
  // up). Within the page only the number changes; past its edge the rows
  // beyond are read and the page slides over them, keeping at most a page.
  // At the end (start) of the rows the selection stops at the last (first)
  // row.
  bool Step(int& selected, int delta);

  // The labels of the first and last rows of the procedure and marker
  // (two reads); `any` false when there are none.
  bool FirstAndLast(std::string& first, std::string& last, bool& any);

 private:
  enum class Got { kRow, kEnd, kError };
  Got read(bool forward);
  // Makes next() (previous()) read from `row` on: the row itself when it is
  // still there, else the rows from its label.
  bool positionAt(const BRW1& row);
  void positionAtLabel(std::string_view label);
  bool fillForward(size_t count, size_t& got);
  bool fillBackward(size_t count, size_t& got);
  bool contains(uint32_t uid) const;

  const char (&procedure_)[80];
  const char (&marker_)[80];
  kf::View view_;
  BrowseQueue rows_;
  size_t page_ = 1;
};

}  // namespace wevo::browse

#endif  // WEVO_BROWSE_BROWSE_PAGER_H_
