#include "app/main_dialog.h"
#include "app/version_record.h"
#include "platform/sjis.h"

namespace pt {

// Where there are no version resources, the version record is built in.
VersionRecord BuiltInVersionRecord = {PT_PRODUCT_VERSION_TEXT, PT_COPYRIGHT_TEXT};

void ReadVersionInfo() {
  if (BuiltInVersionRecord.productVersion != nullptr) {
    CopySjisBounded(MainDialog.ProductVersionText, kVersionFieldSize, BuiltInVersionRecord.productVersion);
  }
  if (BuiltInVersionRecord.copyright != nullptr) {
    CopySjisBounded(MainDialog.CopyrightText, kVersionFieldSize, BuiltInVersionRecord.copyright);
  }
}

}  // namespace pt
