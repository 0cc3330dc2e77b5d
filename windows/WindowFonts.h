#pragma once

// Maps the window fonts ("MS Sans Serif", "黑体", "宋体") to installed
// families that hold Simplified Chinese.
void installWindowFonts();
