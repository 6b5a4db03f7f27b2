#include "serial/port.h"

#include <cstdio>
#include <cstring>

#include "control_ids.h"
#include "serial/messages.h"

namespace pt {

const PortRow PortTable[kPortCount + 1] = {
    {"COM1", "COM1"},           {"COM2", "COM2"},           {"COM3", "COM3"},
    {"COM4", "COM4"},           {"COM5", "COM5"},           {"COM6", "COM6"},
    {"COM7", "COM7"},           {"COM8", "COM8"},           {"COM9", "COM9"},
    {"COM10", "\\\\.\\COM10"}, {"COM11", "\\\\.\\COM11"}, {"COM12", "\\\\.\\COM12"},
    {"COM13", "\\\\.\\COM13"}, {"COM14", "\\\\.\\COM14"}, {"COM15", "\\\\.\\COM15"},
    {"COM16", "\\\\.\\COM16"}, {"COM17", "\\\\.\\COM17"}, {"COM18", "\\\\.\\COM18"},
    {"COM19", "\\\\.\\COM19"}, {"COM20", "\\\\.\\COM20"}, {"", ""},
};

const SpeedRow SpeedTable[7] = {
    {300, "300"},   {1200, "1200"},   {2400, "2400"},   {4800, "4800"},
    {9600, "9600"}, {19200, "19200"}, {38400, "38400"},
};
const ByteRow ParityTable[3] = {{0, "N"}, {1, "O"}, {2, "E"}};
const ByteRow DataBitsTable[2] = {{7, "7"}, {8, "8"}};
const ByteRow StopBitsTable[3] = {{0, "1"}, {1, "1.5"}, {2, "2"}};

PortState Port;

namespace {

SerialDevice* gDevice = nullptr;


// An index read from the settings file or the dialog is trusted only within its table.
int Clamp(std::int32_t index, int rows, int fallback) {
  return (index >= 0 && index < rows) ? index : fallback;
}

const PortRow& SelectedPort() { return PortTable[Clamp(Port.Settings.port, kPortCount, 0)]; }
const SpeedRow& SelectedSpeed() { return SpeedTable[Clamp(Port.Settings.speed, 7, 5)]; }
const ByteRow& SelectedParity() { return ParityTable[Clamp(Port.Settings.parity, 3, 2)]; }
const ByteRow& SelectedDataBits() { return DataBitsTable[Clamp(Port.Settings.dataBits, 2, 1)]; }
const ByteRow& SelectedStopBits() { return StopBitsTable[Clamp(Port.Settings.stopBits, 3, 0)]; }

const char* FailedStepText(ConfigureError error) {
  switch (error) {
    case ConfigureError::None: break;
    case ConfigureError::Events: return kPortEventsStepText;
    case ConfigureError::Queues: return kPortQueuesStepText;
    case ConfigureError::Line: return kPortLineStepText;
  }
  return nullptr;
}

void FailConfiguration(Dialog& dlg, const char* step) {
  dlg.ShowMessage(step, kPortErrorCaption, BoxOwner::Dialog);
  dlg.SetItemText(IDC_PORT_STATUS, kPortDisabledLabel);
  Port.PortOpenFlag = 0;
  // Set only now, after the box is closed: ticks delivered while it was up must not close the
  // device under this open.
  Port.ClosePortFlag = 1;
}

void FormatStatus(char* out, std::size_t size) {
  const std::uint8_t data = SelectedDataBits().value;
  const std::uint8_t parity = SelectedParity().value;
  const std::uint8_t stop = SelectedStopBits().value;
  std::snprintf(out, size, "[%s,%s,%s,%s,%s]", SelectedPort().name, SelectedSpeed().name,
                data == 7 ? "7" : "8", parity == 0 ? "N" : parity == 1 ? "O" : "E",
                stop == 0 ? "1" : stop == 1 ? "1.5" : "2");
}

}  // namespace

void SetPortDevice(SerialDevice* device) { gDevice = device; }
SerialDevice* PortDevice() { return gDevice; }

void FillPortList(Dialog& dlg) {
  int i = 0;
  for (; i < kPortCount && PortTable[i].name[0] != '\0'; ++i) {
    dlg.ComboInsertString(IDC_PORT_COMBO, i, PortTable[i].name);
  }
  dlg.ComboSetCurSel(IDC_PORT_COMBO, Port.Settings.port);
}

void ReadPortChoice(Dialog& dlg) {
  const int sel = dlg.ComboGetCurSel(IDC_PORT_COMBO);
  Port.Settings.port = (sel < 0 || sel >= kPortCount) ? 0 : sel;
}

void ReadSpeedChoice(Dialog& dlg) {
  Port.Settings.speed = dlg.IsButtonChecked(IDC_SPEED_9600) == 1 ? 4 : 5;
}

int OpenPort(Dialog& dlg) {
  SerialDevice* device = gDevice;
  // A device still held (a job button pressed before the tick carried out the close a job's end
  // asked for) is closed here, so its handle is never lost; that close is the pending one.
  if (device != nullptr && device->IsOpen()) {
    device->Close();
    Port.ClosePortFlag = 0;
  }

  const PortRow& row = SelectedPort();
  const int error = device != nullptr ? device->Open(row.path) : kNoPortDeviceError;
  if (error != 0 || !device->IsOpen()) {
    char text[256];
    std::snprintf(text, sizeof text, kPortOpenFailureFormat, row.name, error);
    dlg.ShowMessage(text, kPortErrorCaption, BoxOwner::Dialog);
    Port.PortOpenFlag = 0;
    dlg.SetItemText(IDC_PORT_STATUS, kPortDisabledLabel);
    return -1;
  }

  const LineSettings line{SelectedSpeed().rate, SelectedParity().value, SelectedDataBits().value,
                          SelectedStopBits().value};
  if (const char* failed = FailedStepText(device->Configure(line))) {
    FailConfiguration(dlg, failed);
    return -1;
  }

  Port.PortOpenFlag = 1;
  char status[40];
  FormatStatus(status, sizeof status);
  dlg.SetItemText(IDC_PORT_STATUS, status);
  return 0;
}

void ClosePort() {
  if (gDevice != nullptr && gDevice->IsOpen()) gDevice->Close();
}

}  // namespace pt
