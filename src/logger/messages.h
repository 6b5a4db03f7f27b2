#pragma once
// The fixed texts the jobs show, Shift-JIS at run time. They live in messages.cpp, the one file of
// this folder that needs the Shift-JIS execution character set.
namespace pt {

extern const char* const kNoProperReplyText;    // no acceptable reply after the resend
extern const char* const kCannotSendText;       // a read job's command could not be written
extern const char* const kBadClockText;         // the clock field is not 14 characters
extern const char* const kBadSampleCountText;   // the pointer gives no count the table can hold

// The download's readers: per read, the command could not be written, or no reply came.
struct ReadFailureTexts {
  const char* cannotSend;
  const char* noReply;
};
extern const ReadFailureTexts kMemoReadTexts;
extern const ReadFailureTexts kStartReadTexts;
extern const ReadFailureTexts kPointerReadTexts;
extern const ReadFailureTexts kSampleReadTexts;

// The four frames of the spinner, one shown at every send.
extern const char* const kSpinnerFrames[4];

}  // namespace pt
