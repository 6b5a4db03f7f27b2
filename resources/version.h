/* The program's version and copyright line: the one place the version numbers are written.
   Plain #defines: windres reads this file too, and CMake reads the numbers from it. */
#ifndef PADDYTHERM_VERSION_H
#define PADDYTHERM_VERSION_H

#define PT_VERSION_MAJOR 1
#define PT_VERSION_MINOR 0
#define PT_VERSION_PATCH 0
#define PT_VERSION_BUILD 0

/* The numbers as text: two levels, so that the macro's value is spelt, not its name. */
#define PT_VERSION_STR2(x) #x
#define PT_VERSION_STR(x) PT_VERSION_STR2(x)

/* "1.0.0", as --version prints it and the packages are named. */
#define PT_VERSION_TEXT \
  PT_VERSION_STR(PT_VERSION_MAJOR) "." PT_VERSION_STR(PT_VERSION_MINOR) "." PT_VERSION_STR(PT_VERSION_PATCH)
/* "1.0.0.0", all four numbers, as the raw archive's program line records them. */
#define PT_VERSION_FULL_TEXT \
  PT_VERSION_STR(PT_VERSION_MAJOR) "." PT_VERSION_STR(PT_VERSION_MINOR) "." \
  PT_VERSION_STR(PT_VERSION_PATCH) "." PT_VERSION_STR(PT_VERSION_BUILD)
/* "1, 0, 0, 0", the product version as the version record spells it. */
#define PT_PRODUCT_VERSION_TEXT \
  PT_VERSION_STR(PT_VERSION_MAJOR) ", " PT_VERSION_STR(PT_VERSION_MINOR) ", " \
  PT_VERSION_STR(PT_VERSION_PATCH) ", " PT_VERSION_STR(PT_VERSION_BUILD)
#define PT_COPYRIGHT_TEXT "Copyright (C) 2026 paddytherm developers"

#endif
