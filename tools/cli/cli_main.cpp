#include <clocale>

#include "cli_app.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return cli::RunCli(argc - 1, argv + 1);
}
