/* The program's version and copyright line. Plain #defines: windres reads this file too. */
#ifndef PADDYTHERM_VERSION_H
#define PADDYTHERM_VERSION_H

#define PT_VERSION_MAJOR 1
#define PT_VERSION_MINOR 0
#define PT_VERSION_PATCH 0
#define PT_VERSION_BUILD 0
#define PT_PRODUCT_VERSION_TEXT "1, 0, 0, 0"
#define PT_COPYRIGHT_TEXT "Copyright (C) 2026 paddytherm developers"

#endif
