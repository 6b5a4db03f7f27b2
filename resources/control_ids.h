/* Control ids of dialog template 2. Plain #defines: windres reads this file too. */
#ifndef PADDYTHERM_CONTROL_IDS_H
#define PADDYTHERM_CONTROL_IDS_H

#define IDD_MAIN                2

#define IDC_PORT_STATUS         1156  /* "[COM3,9600,8,E,1]" or "[Disable]" */
#define IDC_VERSION             1157
#define IDC_PROGRESS            1022
#define IDC_DOWNLOAD            1182  /* DownloadJob */
#define IDC_SAMPLE_COUNTER      1169
#define IDC_BOTTOM_LEFT         1193
#define IDC_MEMO_CHECK_REPLY    1197
#define IDC_START_CHECK_REPLY   1198
#define IDC_POINTER_REPLY       1200
#define IDC_SPINNER             1201
#define IDC_COPYRIGHT           1210
#define IDC_SET_CLOCK           1212  /* SetClockJob */
#define IDC_SET_PERIOD          1213  /* SetPeriodJob */
#define IDC_DEBUG_PERIOD        1214
#define IDC_USE_PC_CLOCK        1196
#define IDC_CLOCK_EDIT          1216
#define IDC_CLOCK_REPLY         1222
#define IDC_READ_CLOCK          1217  /* ReadClockJob */
#define IDC_WRITE_MEMO          1218  /* WriteMemoJob */
#define IDC_READ_MEMO           1219  /* ReadMemoJob */
#define IDC_MEMO_EDIT           1220
#define IDC_MEMO_REPLY          1221
#define IDC_PORT_COMBO          1223
#define IDC_SPECIAL_START       1224
#define IDC_SPECIAL_START_EDIT  1225
#define IDC_SPECIAL_START_LABEL 1226
#define IDC_SPECIAL_START_EXAMPLE 1227
#define IDC_SPECIAL_START_HINT  1229
#define IDC_CHECK_MEMO          1230  /* CheckMemoJob */
#define IDC_CHECK_START         1231  /* CheckStartJob */
#define IDC_CHECK_POINTER       1232  /* CheckPointerJob */
#define IDC_SPEED_9600          1233
#define IDC_SPEED_19200         1234

#endif
