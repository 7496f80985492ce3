// Build step: writes the demonstration's pictures into the folder given.
//   wevodemo_images <folder>
#include <cstdio>
#include <string>

#include "demo/images/image_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!wevo::demo::images::writeDemoImages(argv[1], error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}
