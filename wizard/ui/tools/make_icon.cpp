// Writes Carwright's icon as a PNG file: make_icon FILE [SIZE].
#include <cstdio>
#include <cstdlib>

#include "ui/logo.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_icon FILE [SIZE]\n");
    return 2;
  }
  const int size = argc > 2 ? std::atoi(argv[2]) : 128;
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "make_icon: the size must be 16 to 1024\n");
    return 2;
  }
  if (!wizard::ui::CarwrightLogo(size).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
