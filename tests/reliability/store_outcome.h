// The outcomes a program may come to when its store is damaged: it goes on
// (the store read well enough, or was repaired), it reports store errors
// through the store's own messages and goes on, or it ends in order with the
// text of the open-with-recovery path. Anything else (an exception, a script
// failure, a message of another kind) is not an outcome the store defines.
//
// Header only: included by *_test.cpp files (and the fuzz target) alone.
#ifndef WEVO_TESTS_RELIABILITY_STORE_OUTCOME_H_
#define WEVO_TESTS_RELIABILITY_STORE_OUTCOME_H_

#include <string>
#include <string_view>

#include "wevo/program.h"

namespace wevo::reliability {

// A message the store shows on a damaged or unreadable store, by the start
// of its transcript line.
inline bool isStoreMessage(std::string_view line) {
  static const char* const kStarts[] = {
      // opening with recovery
      "message \"Invalid File\"", "message \"Invalid Key\"", "message \"Key Rebuild Error\"",
      "message \"File Creation Error\"", "message \"File Access Error\"",
      // a transaction whose commit failed
      "message \"Update Operation Error\"",
      // numbering a new row
      "message \"Record Retrieval Error\"", "message \"Auto Increment Error\"",
      "message \"\" \"Record Can't be created!\"",
      // the format check and its conversions
      "message \"\" \"Conversion 01 error: ", "message \"\" \"Error: "};
  for (const char* start : kStarts)
    if (line.rfind(start, 0) == 0) return true;
  return false;
}

// A text the open-with-recovery path ends the program with.
inline bool isStoreHalt(std::string_view text) {
  for (const char* t : {"Invalid File!", "Invalid Key!", "Error Rebuilding Key!", "File Creation Error!", "Disk Error"})
    if (text == t) return true;
  return false;
}

enum class Outcome { kWentOn, kReportedAndWentOn, kEnded, kUndefined };

inline const char* nameOf(Outcome o) {
  switch (o) {
    case Outcome::kWentOn:
      return "went on";
    case Outcome::kReportedAndWentOn:
      return "reported and went on";
    case Outcome::kEnded:
      return "ended in order";
    case Outcome::kUndefined:
      return "undefined";
  }
  return "";
}

// How a program ended, by its result. `why` names what was not defined.
inline Outcome outcomeOf(const ProgramResult& r, std::string* why = nullptr) {
  if (r.failed) {
    if (why) *why = "failed: " + r.failure;
    return Outcome::kUndefined;
  }
  bool reported = false;
  for (const std::string& line : r.transcript) {
    if (line.rfind("halt ", 0) == 0) continue;
    if (!isStoreMessage(line)) {
      if (why) *why = "dialog: " + line;
      return Outcome::kUndefined;
    }
    reported = true;
  }
  if (r.halted) {
    if (isStoreHalt(r.haltText)) return Outcome::kEnded;
    if (why) *why = "halted: " + r.haltText;
    return Outcome::kUndefined;
  }
  return reported ? Outcome::kReportedAndWentOn : Outcome::kWentOn;
}

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_STORE_OUTCOME_H_
