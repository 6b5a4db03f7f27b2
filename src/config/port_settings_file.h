#pragma once
// "COM_STA.INI": the chosen port survives between runs.

namespace pt {

// Remembers the current directory as the settings directory, then reads the port from the file
// there, if any. Every failure is silent.
void LoadPortSettings();
// Writes the file into the remembered settings directory. Every failure is silent.
void SavePortSettings();

}  // namespace pt
