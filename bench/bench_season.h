#pragma once
// A season the benches make from replies of their own, as a download would have recorded it.
#include "season/model/season.h"

// The season `replies` give, read out at a fixed moment on /dev/ttyUSB0 at 9600 baud; the bench
// named `bench` ends with exit 1 when they give none.
pt::season::Season BenchSeason(const pt::season::Replies& replies, const char* bench);
