// The version and copyright labels come from the program's own version record.
#include <windows.h>

#include <cstdio>

#include "app/main_dialog.h"
#include "platform/sjis.h"

namespace pt {

namespace {

constexpr DWORD kModulePathMax = 490;

// The keys in the order they are looked up, and where each value goes.
constexpr const char* kVersionKeys[] = {"Comments",         "CompanyName",   "FileDescription",
                                        "Fileversion",      "InternalName",  "LegalCopyright",
                                        "OriginalFilename", "ProductName",   "ProductVersion"};
constexpr int kKeyCount = 9;
constexpr int kCopyrightKey = 5;
constexpr int kProductVersionKey = 8;

char* FieldFor(int key) {
  if (key == kCopyrightKey) return MainDialog.CopyrightText;
  if (key == kProductVersionKey) return MainDialog.ProductVersionText;
  // The other seven fields, in key order without the two above.
  return MainDialog.OtherVersionFields[key < kCopyrightKey ? key : key - 1];
}

// Walks the translation table: the values come from the first entry that holds any of the keys,
// and ProductVersion ends the walk at once.
void ReadStrings(void* block) {
  void* table = nullptr;
  UINT tableBytes = 0;
  char translationPath[] = "\\VarFileInfo\\Translation";
  if (!VerQueryValueA(block, translationPath, &table, &tableBytes) || table == nullptr || tableBytes < 4) return;

  const WORD* entries = static_cast<const WORD*>(table);
  const UINT entryCount = tableBytes / 4;
  for (UINT entry = 0; entry < entryCount; ++entry) {
    const unsigned language = entries[2 * entry];
    const unsigned codePage = entries[2 * entry + 1];
    bool anyOfTheFirstEight = false;
    for (int key = 0; key < kKeyCount; ++key) {
      char path[64];
      std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, kVersionKeys[key]);
      void* value = nullptr;
      UINT valueLength = 0;
      if (!VerQueryValueA(block, path, &value, &valueLength) || value == nullptr || valueLength == 0) continue;
      // A value longer than its field is cut at a character boundary.
      CopySjisBounded(FieldFor(key), kVersionFieldSize, static_cast<const char*>(value));
      if (key == kProductVersionKey) return;
      anyOfTheFirstEight = true;
    }
    if (anyOfTheFirstEight) return;
  }
}

}  // namespace

void ReadVersionInfo() {
  char modulePath[kModulePathMax + 1] = {};
  const DWORD pathLength = GetModuleFileNameA(nullptr, modulePath, kModulePathMax);
  // A full buffer means the path was cut, and a cut path names another file.
  if (pathLength == 0 || pathLength >= kModulePathMax) return;

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(modulePath, &ignored);
  if (size == 0) return;
  const HANDLE heap = GetProcessHeap();
  void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, size);
  if (block == nullptr) return;
  if (GetFileVersionInfoA(modulePath, 0, size, block)) ReadStrings(block);
  HeapFree(heap, 0, block);
}

}  // namespace pt
