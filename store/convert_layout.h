// The layout conversion: a store written with an earlier record layout is
// copied row by row into the current layout (store_copy.h), keeping the old
// store as "<store>.<nn>.bak" (nn the conversion number as two digits).
#ifndef WEVO_STORE_CONVERT_LAYOUT_H_
#define WEVO_STORE_CONVERT_LAYOUT_H_

#include <string>
#include <string_view>

#include "platform/keyedfile/file_decl.h"

namespace wevo::store {

// Copies every row of the store `store` read through `from` into a new file of `to`'s layout that takes the store's
// place; both with the password `owner` (blank: none). Each old record's
// bytes go onto the front of the new record; the fields the old layout lacks
// are cleared (numbers 0, text blank). A blob is carried over when both
// layouts have one. True when the store was replaced; false when the copy
// was abandoned (the error was shown; the store is unchanged).
bool ConvertLayout(const std::string& store, const kf::FileDecl& from, const kf::FileDecl& to, int number,
                   std::string_view owner);

// Conversion 01 of the store `store`, from the first layout (win001Decl())
// to the current one (winDecl()): the store must open through the first layout (read and
// write, others denied writing); when it does not, "Conversion 01 error: "
// with the error's number and text is shown and nothing is converted.
bool convertFirstLayout(const std::string& store, std::string_view owner);

}  // namespace wevo::store

#endif  // WEVO_STORE_CONVERT_LAYOUT_H_
