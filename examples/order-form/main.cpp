// The order form: the smallest wevo host (the README's). It declares its
// window as data, lets wevo apply what its users stored for the window as
// it opens, and puts the window in design mode on Ctrl+Alt+D.
//
//   order-form              the window on the desktop; the store beside the program
//   order-form --seed DIR   a scripted user moves the customer entry in design
//                           mode and keeps the change
//   order-form --check DIR  opens the window, customised from the store;
//                           exits with 0 only when the entry stands where the
//                           stored change put it
//
// With --seed and --check the program runs as DIR/order-form, so that its
// store is DIR/order-form.wevo; they need no person and no display (Qt's
// offscreen platform).
#include <wevo/qt_view.h>
#include <wevo/toolkit.h>
#include <wevo/wevo.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

void OrderForm(const std::string& layout) {
  char customer[30];
  wevo::text::blank(customer);
  wevo::WindowDecl decl;
  decl.caption = "Order";
  decl.at = {wevo::kDefault, wevo::kDefault, 200, 80};  // dialog units
  wevo::ControlDecl name;
  name.type = wevo::TYPE::Entry;
  name.use = "?CUSTOMER";  // rows are kept by label
  name.text = "s30";
  name.at = {10, 10, 120, 10};
  name.bind = wevo::Binding::text(customer);
  decl.controls.push_back(name);

  wevo::Window window(decl);
  window.open();
  WEVOSETTINGS settings;
  wevo::text::blank(settings.WEVOPATH);  // the store beside the program
  wevo::text::assign(settings.PASSWORD, "the store's password");
  settings.PROMPTONEXIT = 1;  // ask whether to keep the changes
  WEVO::SETWINDOWCONTROLS(window, "OrderForm", layout, settings);
  const int designKey = wevo::KEY::Ctrl + wevo::KEY::Alt + 'D';
  window.set(0, wevo::PROP::Alrt, 255, designKey);
  while (window.accept())
    if (wevo::event() == wevo::EVENT::AlertKey && wevo::keyCode() == designKey)
      WEVO::PROCESSWINDOW(window, wevo::field(), "OrderForm", layout, settings);
}

namespace {

constexpr int kDesignedX = 10;  // the entry's x in OrderForm's declaration

// Runs OrderForm as the program DIR/order-form, driven by `user`.
bool runScripted(const std::string& folder, wevo::Script& user) {
  wevo::RunOptions options;
  options.view = wevo::qtView();
  options.script = &user;
  options.args = {folder + "/order-form"};
  wevo::ProgramResult result = wevo::run([] { OrderForm("STANDARD"); }, options);
  if (result.failed || result.halted) {
    std::cerr << "order-form: the scripted run failed\n" << wevo::describe(result);
    return false;
  }
  return true;
}

// The user presses the design key (the entry, which has the focus, is
// selected), nudges the entry to the right, clicks it to keep its place,
// leaves design mode keeping the change and closes the window.
int seed(const std::string& folder) {
  wevo::Script user;
  user.key(wevo::KEY::Ctrl + wevo::KEY::Alt + 'D');
  for (int i = 0; i < 6; ++i) user.key(wevo::KEY::Right);
  user.clickControl("?CUSTOMER", "Order");
  user.key(wevo::KEY::Esc).answer("Wevo", wevo::BUTTON::Yes);
  user.closeWindow("Order");
  return runScripted(folder, user) ? 0 : 1;
}

// Where the entry stands once the window waits for its user, then closes it.
int check(const std::string& folder) {
  int x = -1, y = -1, w = -1, h = -1;
  wevo::Script user;
  user.call(
      [&] {
        wevo::Window* window = wevo::target();
        if (window != nullptr) window->getPosition(window->fieldOf("?CUSTOMER"), x, y, w, h);
      },
      "Order");
  user.closeWindow("Order");
  if (!runScripted(folder, user)) return 1;
  std::cout << "order-form: the customer entry is at x=" << x << " (designed at x=" << kDesignedX << ")\n";
  return x > kDesignedX ? 0 : 1;
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
  wevo::RunOptions options;
  options.view = wevo::qtView();
  wevo::run([] { OrderForm("STANDARD"); }, options);
}
