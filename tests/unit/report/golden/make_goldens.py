#!/usr/bin/env python3
"""Writes the expected report files for the report tests, in Shift-JIS with LF line ends.

This is deliberately separate from the C++ writer: the lines are typed out from the report's
line tables, numbers are rounded with Python's Decimal (exact value of the double, half up), and
the worked example is spelled out line by line. Run it from this folder after changing a table.
"""
from decimal import Decimal, ROUND_HALF_UP

HEAD = (
    '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN"\n'
    '  "http://www.w3.org/TR/html4/loose.dtd">\n'
    '<html lang="ja">\n\n'
    '<head>\n'
    ' <meta http-equiv="Content-Type" content="text/html; charset=shift_jis">\n'
    ' <title>水温</title>\n'
    '</head>\n\n'
    '<body bgcolor="#C0C0C0">\n'
    ' <basefont size="2">\n\n'
    ' <table border="1"  align="center" cellpadding="3" cellspacing="2">\n'
)

TAIL = (
    ' </table>\n\n'
    ' <table border="0"  align="center" cellpadding="5">\n'
    '  <tr bgcolor="#C0C0C0">\n'
    '   <td  align="left" valign="top" width="1200" height="10">\n'
    '    <font size="3" color="#000000">\n'
    '     ＊印の付いた温度は水無しの時の温度です <br>\n'
    '    </font>\n'
    '   </td>\n'
    '  </tr>\n'
    ' </table>\n\n'
    '</body>\n'
    '</html>\n'
)


def caption(y, m, d, h):
    return ('  <caption>\n'
            '    <font size="5" color="#0000FF">\n'
            f'    ************** 水温測定結果[℃]　開始時刻[{y}-{m}-{d} {h}:00] ***********<br>\n'
            '    </font>\n'
            '  </caption>\n')


HEADER_ROW = ('  <tr align="center">\n'
              '   <th nowrap>月日</th>\n'
              + ''.join(f'   <th>{h}:00</th>\n' for h in range(24))
              + '   <th nowrap>平均</th>\n'
              '   <th nowrap>最高</th>\n'
              '   <th nowrap>最低</th>\n'
              '   <th nowrap>月日</th>\n'
              '  </tr>\n')

DAYS = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]


def one_decimal(x):
    return str(Decimal(x).quantize(Decimal('0.1'), rounding=ROUND_HALF_UP))


def colour(t):
    for limit, c in ((20.0, '#D0FFFF'), (25.0, '#FFFFF0'), (30.0, '#FFFF00'), (35.0, '#FFA500')):
        if t < limit:
            return c
    return '#FF0000'


def date_cell(m, d):
    return f'   <td>{m:>2}/{d:<2}</td>\n'


def sample(word):
    w = word & 0xFFFF
    t = ((w >> 4) & 0xFF) + (w & 0xF) / 16
    star = '*' if (w & 0xC000) == 0x4000 else ''
    return t, f'   <td bgcolor="{colour(t)}">{star}{one_decimal(t)}</td>\n'


def summary(v):
    return f'   <td bgcolor="{colour(v)}"><font color="#0000FF">{one_decimal(v)}</font></td>\n'


def body(y, m, d, hour, words):
    """Lays the samples out hour by hour, one row per day, from the start hour on."""
    out = []
    if words:
        out.append('  <tr align="center">\n' + date_cell(m, d))
        out.append('   <td>---</td>\n' * hour)
        column, temps = hour, []
        for i, word in enumerate(words):
            if column == 24:
                out.append('  </tr>\n  <tr align="center">\n' + date_cell(m, d))
                column, temps = 0, []
            t, cell = sample(word)
            out.append(cell)
            temps.append(t)
            column += 1
            if column == 24:
                out.append(summary(sum(temps) / len(temps)) + summary(max(temps)) + summary(min(temps)))
                out.append(date_cell(m, d))
                d += 1
                if d > DAYS[m - 1]:
                    d, m = 1, m + 1
                    if m > 12:
                        m, y = 1, y + 1
    out.append('  </tr>\n')
    return ''.join(out)


def report(y, m, d, h, words):
    return HEAD + caption(y, m, d, h) + HEADER_ROW + body(y, m, d, h, words) + TAIL


# 14 April 2008, 22:00; words 0x0130, 0x4194, 0x0234, typed out in full.
WORKED_EXAMPLE = (
    HEAD
    + '  <caption>\n'
    '    <font size="5" color="#0000FF">\n'
    '    ************** 水温測定結果[℃]　開始時刻[2008-4-14 22:00] ***********<br>\n'
    '    </font>\n'
    '  </caption>\n'
    + HEADER_ROW
    + '  <tr align="center">\n'
    '   <td> 4/14</td>\n'
    + '   <td>---</td>\n' * 22
    + '   <td bgcolor="#D0FFFF">19.0</td>\n'
    '   <td bgcolor="#FFFF00">*25.3</td>\n'
    '   <td bgcolor="#FFFFF0"><font color="#0000FF">22.1</font></td>\n'
    '   <td bgcolor="#FFFF00"><font color="#0000FF">25.3</font></td>\n'
    '   <td bgcolor="#D0FFFF"><font color="#0000FF">19.0</font></td>\n'
    '   <td> 4/14</td>\n'
    '  </tr>\n'
    '  <tr align="center">\n'
    '   <td> 4/15</td>\n'
    '   <td bgcolor="#FF0000">35.3</td>\n'
    '  </tr>\n'
    + TAIL
)

# Sample words repeated in html_report_test.cpp: every band, stars hidden and shown.
HOUR0_WORDS = [((15 + i) << 4 | (i * 5) % 16) | (0x4000 if i % 7 == 3 else 0)
               | (0xC000 if i == 10 else 0) | (0x3000 if i == 12 else 0) for i in range(24)]
HOUR15_WORDS = [0x0190, 0x4194, 0xC194, 0x3194, 0x0FFF, 0x0130, 0x013F, 0x0234, 0x0200, 0x0238]
DEC31_WORDS = [0x0140, 0x0148, 0x4150, 0x0158, 0x0160]

FILES = {
    'worked_example.html': WORKED_EXAMPLE,
    'count0.html': report(2008, 4, 14, 15, []),
    'hour0_24.html': report(2008, 5, 1, 0, HOUR0_WORDS),
    'hour23_1.html': report(2008, 6, 30, 23, [0x0234]),
    'hour15_9.html': report(2008, 4, 14, 15, HOUR15_WORDS[:9]),
    'hour15_10.html': report(2008, 4, 14, 15, HOUR15_WORDS[:10]),
    'dec31.html': report(2008, 12, 31, 22, DEC31_WORDS),
}

if __name__ == '__main__':
    for name, text in FILES.items():
        with open(name, 'wb') as f:
            f.write(text.encode('cp932'))
