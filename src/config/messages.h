#pragma once
// The settings file's fixed texts, Shift-JIS in the file. They live in messages.cpp, the one file
// of this folder that needs the Shift-JIS execution character set.
namespace pt {

extern const char* const kPortSettingsTitleLine;  // the file's first line, a remark

}  // namespace pt
