// The order form: the smallest wevo host. It declares its window as data,
// lets wevo apply what its users stored for the window as it opens, and
// puts the window in design mode on Ctrl+Alt+D.
//
//   order-form              the window on the desktop; the store beside the program
//   order-form --seed DIR   a scripted user moves the customer entry in design
//                           mode and keeps the change (the store in DIR)
//   order-form --check DIR  opens the window customised from the store in DIR;
//                           exits with 0 only when the entry stands where the
//                           stored change put it
//
// --seed and --check need no person and no display (Qt's offscreen platform).
#include <wevo/qt_view.h>
#include <wevo/toolkit.h>
#include <wevo/wevo.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

constexpr int kDesignKey = wevo::KEY::Ctrl + wevo::KEY::Alt + 'D';
constexpr int kCustomerX = 10;  // where the design puts the entry, in dialog units

// The window as data. The entry shows and edits `customer`.
wevo::WindowDecl orderWindow(char (&customer)[30]) {
  wevo::WindowDecl decl;
  decl.caption = "Order";
  decl.at = {wevo::kDefault, wevo::kDefault, 200, 80};  // dialog units
  wevo::ControlDecl name;
  name.type = wevo::TYPE::Entry;
  name.use = "?CUSTOMER";  // rows are kept by label
  name.text = "s30";
  name.at = {kCustomerX, 10, 120, 10};
  name.bind = wevo::Binding::text(customer);
  decl.controls.push_back(name);
  return decl;
}

// What the host passes on every call: the store's folder (blank: beside the
// program), its password, and whether design mode asks before keeping changes.
WEVOSETTINGS orderSettings(const std::string& folder) {
  WEVOSETTINGS settings;
  wevo::text::assign(settings.WEVOPATH, folder);
  wevo::text::assign(settings.PASSWORD, "the store's password");
  settings.PROMPTONEXIT = 1;
  return settings;
}

// Opens the window and lets wevo apply the stored changes before it is
// first drawn.
void openOrderForm(wevo::Window& window, const std::string& layout, WEVOSETTINGS& settings) {
  window.open();
  WEVO::SETWINDOWCONTROLS(window, "OrderForm", layout, settings);
}

// The window's procedure: runs it until the user closes it.
void OrderForm(const std::string& layout, WEVOSETTINGS& settings) {
  char customer[30];
  wevo::text::blank(customer);
  wevo::Window window(orderWindow(customer));
  openOrderForm(window, layout, settings);
  window.set(0, wevo::PROP::Alrt, 255, kDesignKey);
  while (window.accept())
    if (wevo::event() == wevo::EVENT::AlertKey && wevo::keyCode() == kDesignKey)
      WEVO::PROCESSWINDOW(window, wevo::field(), "OrderForm", layout, settings);
}

// --seed: the user presses the design key (the entry, which has the focus,
// is selected), nudges the entry to the right, clicks it to keep its place,
// leaves design mode keeping the change, and closes the window.
int seed(const std::string& folder) {
  WEVOSETTINGS settings = orderSettings(folder);
  wevo::Script user;
  user.key(kDesignKey);
  for (int i = 0; i < 6; ++i) user.key(wevo::KEY::Right);
  user.clickControl("?CUSTOMER", "Order");
  user.key(wevo::KEY::Esc).answer("Wevo", wevo::BUTTON::Yes);
  user.closeWindow("Order");
  wevo::RunOptions options;
  options.view = wevo::qtView();
  options.script = &user;
  wevo::ProgramResult result = wevo::run([&] { OrderForm("STANDARD", settings); }, options);
  if (result.failed || result.halted) {
    std::cerr << "order-form: the scripted design run failed\n" << wevo::describe(result);
    return 1;
  }
  return 0;
}

// --check: where the entry stands once wevo has customised the window.
int check(const std::string& folder) {
  WEVOSETTINGS settings = orderSettings(folder);
  int x = -1, y = -1, w = -1, h = -1;
  wevo::RunOptions options;
  options.view = wevo::qtView();
  wevo::ProgramResult result = wevo::run(
      [&] {
        char customer[30];
        wevo::text::blank(customer);
        wevo::Window window(orderWindow(customer));
        openOrderForm(window, "STANDARD", settings);
        window.getPosition(window.fieldOf("?CUSTOMER"), x, y, w, h);
      },
      options);
  if (result.failed || result.halted) {
    std::cerr << "order-form: the window could not be opened\n" << wevo::describe(result);
    return 1;
  }
  std::cout << "order-form: the customer entry is at x=" << x << " (designed at x=" << kCustomerX << ")\n";
  return x > kCustomerX ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && (std::strcmp(argv[1], "--seed") == 0 || std::strcmp(argv[1], "--check") == 0)) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no display needed, unless one was asked for
    return std::strcmp(argv[1], "--seed") == 0 ? seed(argv[2]) : check(argv[2]);
  }
  if (argc != 1) {
    std::cerr << "usage: order-form [--seed DIR | --check DIR]\n";
    return 2;
  }
  WEVOSETTINGS settings = orderSettings("");  // blank: the store beside the program
  wevo::RunOptions options;
  options.view = wevo::qtView();
  wevo::ProgramResult result = wevo::run([&] { OrderForm("STANDARD", settings); }, options);
  return result.failed || result.halted ? 1 : 0;
}
