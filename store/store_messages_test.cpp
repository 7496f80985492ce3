#include "store/store_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/keyedfile/error.h"
#include "store/window_controls.h"
#include "tests/testing/run_scripted.h"
#include "wevo/codes.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::haltedWith;
using wevo::testing::runScripted;

std::string line(const std::string& title, const std::string& text, const std::string& icon,
                 const std::string& buttons, const std::string& def, const std::string& answer) {
  return "message \"" + title + "\" \"" + text + "\" icon=" + icon + " buttons=" + buttons + " default=" + def +
         " -> " + answer;
}

// Every message that returns, shown once with the current error "File is
// locked (32)", the first text "WindowControls" and the second "Update",
// each answered with its default button.
TEST(StandardMessage, EveryMessageShowsItsTitleTextIconAndButtons) {
  struct Case {
    int number;
    std::string first, second;
    std::string expected;
    int result;
  };
  const std::string err = "File is locked (32)";
  const std::vector<Case> cases = {
      {14, "", "",
       line("Record Insert Error", "An error was experienced during the update of record.  Error: " + err + ".",
            "error", "OK", "OK", "OK"),
       BUTTON::Ok},
      {15, "WindowControls", "",
       line("Update Operation Error",
            "An error (" + err +
                ") was experienced when attempting to update a record from the file.  Probable Cause: "
                "WindowControls.",
            "error", "OK", "OK", "OK"),
       BUTTON::Ok},
      {16, "", "",
       line("Record Update Error",
            "An error was experienced changing this record.  Do you want to try to save again?", "error",
            "Yes|No|Cancel", "Cancel", "Cancel"),
       BUTTON::Cancel},
      {17, "WindowControls", "",
       line("Delete Operation Error",
            "An error (" + err + ") was experienced when attempting to delete a record from the file WindowControls.",
            "error", "OK", "OK", "OK"),
       BUTTON::Ok},
      {18, "", "",
       line("Record Update Error",
            "An error was experienced deleting this record.  Do you want to try to save again?", "error",
            "Yes|No|Cancel", "Cancel", "Cancel"),
       BUTTON::Cancel},
      {23, "", "",
       line("Update Cancelled", "Are you sure you want to cancel?", "question", "Yes|No", "No", "No"), BUTTON::No},
      {24, "KEYUID", "",
       line("Duplicate Key Error", "Adding this record creates a duplicate entry for the key:KEYUID", "error", "OK",
            "OK", "OK"),
       BUTTON::Ok},
      {25, "", "",
       line("Auto Increment Error",
            "Attempts to automatically number this record have failed.  Error: " + err + ".", "error",
            "Retry|Cancel", "Cancel", "Cancel"),
       BUTTON::Cancel},
      {30, "/data/SALES.wevo", "",
       line("File Access Error", "File (/data/SALES.wevo) could not be opened.  Error: " + err + ".", "error", "OK",
            "OK", "OK"),
       BUTTON::Ok},
      {32, "", "",
       line("Confirm Delete",
            "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
            "question", "OK|Cancel", "Cancel", "Cancel"),
       BUTTON::Cancel},
      {34, "Update", "WindowControls",
       line("Transaction Framing Error",
            "Error: (" + err +
                ") attempting to frame the update transaction on WindowControls.  Update transaction cancelled.",
            "error", "OK", "OK", "OK"),
       BUTTON::Ok},
      {35, "WindowControls", "",
       line("Record Retrieval Error",
            "Error: (" + err +
                ") attempting to access a record from the WindowControls file.  Returning to previous window.",
            "error", "OK", "OK", "OK"),
       BUTTON::Ok},
      {36, "", "",
       line("View Open Error",
            "Error: (" + err + ") attempting to open the current VIEW. Filter and Range Limits ignored.", "error", "OK",
            "OK", "OK"),
       BUTTON::Ok},
      {38, "", "",
       line("Record Was Not Updated",
            "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button "
            "or Ctrl+' to recall your changes.",
            "error", "OK", "OK", "OK"),
       BUTTON::Ok},
  };
  Script script;
  for (const Case& c : cases) {
    size_t title = c.expected.find('"') + 1;
    script.answer(c.expected.substr(title, c.expected.find('"', title) - title), 0);
  }
  std::vector<int> results;
  ProgramResult r = runScripted(script, [&] {
    for (const Case& c : cases) {
      kf::setError(kf::kErrLocked);
      results.push_back(standardMessage(c.number, c.first + "   ", c.second));
    }
    // A number that is not a message shows nothing.
    results.push_back(standardMessage(99, "x"));
  });
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), cases.size());
  ASSERT_EQ(results.size(), cases.size() + 1);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(r.transcript[i], cases[i].expected) << "message " << cases[i].number;
    EXPECT_EQ(results[i], cases[i].result) << "message " << cases[i].number;
  }
  EXPECT_EQ(results.back(), 0);
}

struct Ending {
  int number;
  std::string title;
  std::string text;
  std::string halt;
};

TEST(StandardMessage, UnusableStoreMessagesEndTheProgram) {
  const std::string err = "Record layout differs from the file's (47)";
  const std::string end = ".  Press OK to end this application.";
  const std::vector<Ending> endings = {
      {1, "Invalid File", "Error: (" + err + ") accessing /data/S.wevo" + end, "Invalid File!"},
      {3, "Key Rebuild Error", "Error: (" + err + ") repairing key for /data/S.wevo" + end, "Error Rebuilding Key!"},
      {4, "File Creation Error", "Error: (" + err + ") creating /data/S.wevo" + end, "File Creation Error!"},
      {5, "File Creation Error", "Error: (" + err + ") opening created file:/data/S.wevo" + end,
       "File Creation Error!"},
  };
  for (const Ending& e : endings) {
    Script script;
    script.answer(e.title, BUTTON::Ok);
    bool returned = false;
    ProgramResult r = runScripted(script, [&] {
      kf::setError(kf::kErrLayout);
      standardMessage(e.number, "/data/S.wevo");
      returned = true;
    });
    EXPECT_TRUE(haltedWith(r, e.halt)) << "message " << e.number;
    EXPECT_FALSE(returned) << "message " << e.number;
    ASSERT_GE(r.transcript.size(), 1u);
    EXPECT_EQ(r.transcript[0], line(e.title, e.text, "error", "OK", "OK", "OK")) << "message " << e.number;
  }
}

TEST(StandardMessage, InvalidKeyAsksAndEndsOnlyOnNo) {
  const std::string text = "/data/S.wevo key file is invalid.  Do you want to rebuild the key?";
  {
    Script script;
    script.answer("Invalid Key", BUTTON::No);
    ProgramResult r = runScripted(script, [] { standardMessage(kMsgInvalidKey, "/data/S.wevo"); });
    EXPECT_TRUE(haltedWith(r, "Invalid Key!"));
    ASSERT_GE(r.transcript.size(), 1u);
    EXPECT_EQ(r.transcript[0], line("Invalid Key", text, "question", "Yes|No", "Yes", "No"));
  }
  {
    Script script;
    script.answer("Invalid Key", BUTTON::Yes);
    int result = 0;
    ProgramResult r = runScripted(script, [&] { result = standardMessage(kMsgInvalidKey, "/data/S.wevo"); });
    EXPECT_TRUE(endedNormally(r));
    EXPECT_EQ(result, BUTTON::Yes);
  }
}

TEST(StandardMessage, UpdateErrorNamesOnlyTheOtherStationWhenItLost) {
  Script script;
  script.answer("Update Operation Error", 0).answer("Update Operation Error", 0);
  ProgramResult r = runScripted(script, [&] {
    kf::setError(kf::kErrChanged);
    standardMessage(kMsgUpdateError, "Record Changed by Another Station");
    kf::clearError();
    standardMessage(kMsgUpdateError, "WindowControls");
  });
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 2u);
  const std::string expected =
      line("Update Operation Error", "This record was changed by another station.", "error", "OK", "OK", "OK");
  EXPECT_EQ(r.transcript[0], expected);
  EXPECT_EQ(r.transcript[1], expected);
}

TEST(ErrorText, SavedErrorComesFirstAndIsUsedOnce) {
  WindowControls record{};
  kf::File closed(winDecl(), &record);
  clearSavedError();

  kf::setError(kf::kErrChanged);
  saveError(closed);
  EXPECT_EQ(savedError().code, kf::kErrChanged);
  EXPECT_EQ(savedError().text, "Record changed by another station");

  kf::setError(kf::kErrLocked);  // the current error; the saved one wins
  EXPECT_EQ(errorText(), "Record changed by another station (89)");
  EXPECT_EQ(savedError().code, 0);
  EXPECT_EQ(errorText(), "File is locked (32)");

  // Driver errors report the driver's number and text.
  kf::setError(kf::kErrDriver, 10, "disk I/O error   ");
  EXPECT_EQ(errorText(), "disk I/O error (10)");
  kf::setError(100, 14, "unable to open database file");
  EXPECT_EQ(errorText(), "unable to open database file (14)");
  kf::setError(kf::kErrDriver, 13, "database or disk is full");
  saveError(closed);
  kf::clearError();
  EXPECT_EQ(errorText(), "database or disk is full (13)");

  // At most 150 characters; a saved text at most 255.
  kf::setError(kf::kErrDriver, 1, std::string(300, 'x'));
  saveError(closed);
  EXPECT_EQ(savedError().driverText.size(), 255u);
  EXPECT_EQ(errorText(), std::string(150, 'x'));
  kf::clearError();
}

TEST(ErrorText, AMessageClearsTheSavedError) {
  Script script;
  script.answer("Update Cancelled", BUTTON::Yes).answer("File Access Error", 0);
  ProgramResult r = runScripted(script, [&] {
    WindowControls record{};
    kf::File closed(winDecl(), &record);
    kf::setError(kf::kErrChanged);
    saveError(closed);
    standardMessage(kMsgConfirmCancel);  // a question; it still uses up the saved error
    kf::setError(kf::kErrNotFound);
    standardMessage(kMsgFileAccessError, "S");
  });
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 2u);
  EXPECT_EQ(r.transcript[1], line("File Access Error", "File (S) could not be opened.  Error: File not found (2).",
                                  "error", "OK", "OK", "OK"));
}

TEST(ErrorText, ThreadsSavingAndReadingSeeWholeErrors) {
  clearSavedError();
  std::vector<std::thread> threads;
  std::vector<int> bad(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      WindowControls record{};
      kf::File closed(winDecl(), &record);
      const int codes[] = {kf::kErrLocked, kf::kErrChanged, kf::kErrNotFound};
      for (int i = 0; i < 3000; ++i) {
        kf::setError(codes[(t + i) % 3]);
        saveError(closed);
        SavedError e = savedError();
        if (e.code != 0 && e.text != kf::errorTextFor(e.code)) ++bad[static_cast<size_t>(t)];
        std::string text = errorText();
        bool whole = false;
        for (int c : codes)
          whole = whole || text == std::string(kf::errorTextFor(c)) + " (" + std::to_string(c) + ")";
        if (!whole) ++bad[static_cast<size_t>(t)];
      }
    });
  for (std::thread& t : threads) t.join();
  for (int b : bad) EXPECT_EQ(b, 0);
  clearSavedError();
}

}  // namespace
}  // namespace wevo::store
