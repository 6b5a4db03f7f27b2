#pragma once
// The Windows program's own fixed texts. They are wide, for the wide calls that show them, so
// the execution character set leaves them as they are; they are kept in messages.cpp all the
// same, with every other subsystem's fixed Japanese texts.
namespace pt {

// The box shown when the main dialog cannot be created.
extern const wchar_t* const kMainDialogFailedText;
extern const wchar_t* const kMainDialogFailedCaption;

}  // namespace pt
