#pragma once
// The version record of a platform without version resources.
#include "version.h"

namespace pt {

struct VersionRecord {
  const char* productVersion;  // nullptr: the record has no such entry
  const char* copyright;
};
extern VersionRecord BuiltInVersionRecord;

}  // namespace pt
