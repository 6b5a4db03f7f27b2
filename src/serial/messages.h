#pragma once
// The port's fixed texts, Shift-JIS at run time. They live in messages.cpp, the one file of this
// folder that needs the Shift-JIS execution character set.
namespace pt {

// The box shown when the port cannot be opened: the port's name as shown in the combo box (%s)
// and the system's error code (%d).
extern const char* const kPortOpenFailureFormat;

}  // namespace pt
