#include "app/win32/messages.h"

namespace pt {

const wchar_t* const kMainDialogFailedText = L"DoMainDlg";
const wchar_t* const kMainDialogFailedCaption = L"ｴﾗｰ";

}  // namespace pt
