#include "report/messages.h"

namespace pt {

namespace {

constexpr ReportLine kHeadLines[] = {
    {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"\n"
     "  \"http://www.w3.org/TR/html4/loose.dtd\">\n",
     "ﾌｧｲﾙﾗｲﾄｴﾗｰ<DOCTYPE...>"},
    {"<html lang=\"ja\">\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<html...>"},
    {"<head>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<head>"},
    {" <meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">\n",
     "ﾌｧｲﾙﾗｲﾄｴﾗｰ<meta...>"},
    {" <title>水温</title>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<title...>"},
    {"</head>\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</head>"},
    {"<body bgcolor=\"#C0C0C0\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<body...>"},
    {" <basefont size=\"2\">\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<basefont...>"},
    {" <table border=\"1\"  align=\"center\" cellpadding=\"3\" cellspacing=\"2\">\n",
     "ﾌｧｲﾙﾗｲﾄｴﾗｰ<Ttable...>"},
};

constexpr ReportLine kTailLines[] = {
    {" </table>\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</TABLE>"},
    {" <table border=\"0\"  align=\"center\" cellpadding=\"5\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<Ttable...>"},
    {"  <tr bgcolor=\"#C0C0C0\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<tr bgcolor...>"},
    {"   <td  align=\"left\" valign=\"top\" width=\"1200\" height=\"10\">\n",
     "ﾌｧｲﾙﾗｲﾄｴﾗｰ<td  align...>"},
    {"    <font size=\"3\" color=\"#000000\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<font size...>"},
    {"     ＊印の付いた温度は水無しの時の温度です <br>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ ＊印の..."},
    {"    </font>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</font>"},
    {"   </td>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</td>"},
    {"  </tr>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</tr>"},
    {" </table>\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</table>"},
    {"</body>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</body...>"},
    {"</html>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</html...>"},
};

}  // namespace

constinit const std::span<const ReportLine> kReportHeadLines = kHeadLines;
constinit const std::span<const ReportLine> kReportTailLines = kTailLines;

const char* const kReportCaptionFormat =
    "    ************** 水温測定結果[℃]　開始時刻[%d-%d-%d %d:00] ***********<br>\n";
const char* const kReportDateHeading = "   <th nowrap>月日</th>\n";
const char* const kReportMeanHeading = "   <th nowrap>平均</th>\n";
const char* const kReportMaxHeading = "   <th nowrap>最高</th>\n";
const char* const kReportMinHeading = "   <th nowrap>最低</th>\n";

const char* const kReportErrorCaption = "ｴﾗｰ";
const char* const kReportOpenErrorText = "ﾌｧｲﾙｵｰﾌﾟﾝｴﾗｰ";
const char* const kReportBadStampText = "年月日時分のデータが異常";
const char* const kReportBadCountText = "温度データの数のデータが異常 !!";

}  // namespace pt
