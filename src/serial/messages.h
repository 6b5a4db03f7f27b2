#pragma once
// The port's fixed texts, Shift-JIS at run time. They live in messages.cpp, the one file of this
// folder that needs the Shift-JIS execution character set.
namespace pt {

// The box shown when the port cannot be opened: the port's name as shown in the combo box (%s)
// and the system's error code (%d).
extern const char* const kPortOpenFailureFormat;

// The caption of the port's boxes, and the status label's text once the port has failed.
extern const char* const kPortErrorCaption;
extern const char* const kPortDisabledLabel;

// The box shown when the opened port cannot be set up: the Win32 call that carries out the
// failed step, named so on every platform alike.
extern const char* const kPortEventsStepText;
extern const char* const kPortQueuesStepText;
extern const char* const kPortLineStepText;

}  // namespace pt
