#pragma once
// "COM_STA.INI": the chosen port survives between runs.

namespace pt {

// The settings directory holds what the current directory can: longer ones are not remembered,
// since a cut path would put the file somewhere else.
inline constexpr int kSettingsDirSize = 260;
inline constexpr char kPortSettingsFileName[] = "COM_STA.INI";

// This module's process-wide state; a fresh value is the state at program start.
struct PortSettingsFileState {
  char SettingsDir[kSettingsDirSize] = {};  // the current directory at load time
  int SettingsDirKnown = 0;                 // 1 once SettingsDir holds a whole directory
};
extern PortSettingsFileState PortSettingsFile;

// Remembers the current directory as the settings directory, then reads the port from the file
// there, if any. Every failure is silent.
void LoadPortSettings();
// Writes the file into the remembered settings directory, replacing the old one whole. Every
// failure is silent and leaves the old file as it was.
void SavePortSettings();

}  // namespace pt
