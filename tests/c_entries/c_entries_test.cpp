// The C entries, called from a host written in C (c_host.c) against the
// shared library as a host links it, on the headless view: the record the C
// compiler lays out is the one the library reads, and both entries do their
// work when called through it.
#include <gtest/gtest.h>
#include <wevo/toolkit.h>
#include <wevo/wevo.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "tests/c_entries/c_host.h"
#include "tests/testing/base/temp_dir.h"

namespace {

using wevo::testing::TempDir;

constexpr int kDesignKey = wevo::KEY::Ctrl + wevo::KEY::Alt + 'D';

wevo::WindowDecl orderWindow() {
  wevo::WindowDecl decl;
  decl.caption = "Order";
  decl.at = {wevo::kDefault, wevo::kDefault, 200, 80};
  wevo::ControlDecl name;
  name.type = wevo::TYPE::Entry;
  name.use = "?CUSTOMER";
  name.text = "s30";
  name.at = {10, 10, 120, 10};
  decl.controls.push_back(name);
  return decl;
}

TEST(CEntries, TheSettingsRecordHasOneLayoutInCAndCxx) {
  CHostLayout c = cHostLayout();
  EXPECT_EQ(c.size, 388u);
  EXPECT_EQ(c.size, sizeof(WEVOSETTINGS));
  EXPECT_EQ(c.passwordOffset, offsetof(WEVOSETTINGS, PASSWORD));
  EXPECT_EQ(c.promptOffset, offsetof(WEVOSETTINGS, PROMPTONEXIT));
}

// Design mode started from C moves the entry and, asked on leaving it (the
// C host's PROMPTONEXIT), keeps the change in the protected store in the C
// host's folder; the next opening, customised from C, shows the entry there.
TEST(CEntries, AHostInCDesignsAWindowAndFindsItCustomisedWhenItOpensItAgain) {
  TempDir dir;
  const std::string folder = dir.path();
  const CHostSettings settings = {folder.c_str(), "c host's password", 1};
  int designedX = -1, designedY = -1, reopenedX = -1, reopenedY = -1;

  wevo::Script script;
  script.key(kDesignKey);  // design mode, the entry (which has the focus) selected
  for (int i = 0; i < 6; ++i) script.key(wevo::KEY::Right);
  script.clickControl("?CUSTOMER", "Order");  // the release stores its place
  script.key(wevo::KEY::Esc).answer("Wevo", wevo::BUTTON::Yes);
  script.closeWindow("Order");

  wevo::RunOptions options;
  options.script = &script;
  options.args = {dir.file("orders")};
  wevo::ProgramResult r = wevo::run(
      [&] {
        {
          wevo::Window w(orderWindow());
          w.open();
          cHostCustomise(w.handle(), "OrderForm", "STANDARD", &settings);
          int width = 0, height = 0;
          w.getPosition(1, designedX, designedY, width, height);
          w.set(0, wevo::PROP::Alrt, 255, kDesignKey);
          while (w.accept())
            if (wevo::event() == wevo::EVENT::AlertKey && wevo::keyCode() == kDesignKey)
              cHostDesign(w.handle(), wevo::field(), "OrderForm", "STANDARD", &settings);
        }
        wevo::Window again(orderWindow());
        again.open();
        cHostCustomise(again.handle(), "OrderForm", "STANDARD", &settings);
        int width = 0, height = 0;
        again.getPosition(1, reopenedX, reopenedY, width, height);
      },
      options);

  ASSERT_FALSE(r.failed || r.halted) << wevo::describe(r);
  bool asked = false;
  for (const std::string& line : r.transcript)
    asked = asked || line.find("Do you want to save your changes?") != std::string::npos;
  EXPECT_TRUE(asked) << wevo::describe(r);
  EXPECT_EQ(designedX, 10);
  EXPECT_EQ(designedY, 10);
  EXPECT_GT(reopenedX, designedX);
  EXPECT_EQ(reopenedY, designedY);
  // The store is where the C host's NUL-ended folder names it.
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("orders.wevo")));
}

}  // namespace
