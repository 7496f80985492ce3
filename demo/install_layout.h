// Where the demonstration finds its pictures and keeps its store once it is
// installed. From its build folder both lie beside the program. Installed
// (bin/wevodemo), the pictures are in share/wevodemo/, and a program folder
// such as /usr/bin, which its users cannot write in, cannot take the store.
#ifndef WEVO_DEMO_INSTALL_LAYOUT_H_
#define WEVO_DEMO_INSTALL_LAYOUT_H_

#include <string>

namespace wevo::demo {

// The folder of the installed pictures, or "" when the program has none
// (it runs from its build folder, with the pictures beside it).
std::string pictureFolder();

// The store's folder for the program at `programPath`: "" (the store beside
// the program) when the program's folder can take the store or the store
// is there already; otherwise the user's data folder for the demonstration,
// $XDG_DATA_HOME/wevodemo/ (~/.local/share/wevodemo/), made when missing.
std::string storeFolder(const std::string& programPath);

}  // namespace wevo::demo

#endif  // WEVO_DEMO_INSTALL_LAYOUT_H_
