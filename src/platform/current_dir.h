#pragma once
// The process's current working directory, as a byte string in the platform's own encoding.

namespace pt {

// Copies the current directory into `buf` (`size` bytes, the NUL included) and returns its length.
// Returns -1, leaving `buf` empty, when the directory cannot be had or does not fit whole: a cut
// path would name some other directory.
int GetCurrentDir(char* buf, int size);

}  // namespace pt
