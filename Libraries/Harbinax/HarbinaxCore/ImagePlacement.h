// Where an image goes inside a button's content rectangle, one axis at a time.
#pragma once

enum class EImageAlign { Start, Centre, End };  // left/top, centred, right/bottom

// The image's first pixel on the axis. An image longer than the content starts at the
// content's start whatever the alignment, so its left or top part stays visible.
int PlaceImage(int contentStart, int contentLength, int imageLength, EImageAlign align);
