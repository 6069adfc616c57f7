#pragma once
// Builds SHP file bytes for the SHP tests.

#include "TestFiles.h"
#include "shp/ShpFormat.h"

struct ShpFrameSpec {
    ShpFrameHeader header;
    Bytes rows;  // coded rows as they follow the header
};

// An SHP file of the frames in order, laid out as the format says.
Bytes ShpBytes(const std::vector<ShpFrameSpec>& frames);
ShpFrameHeader FrameHeader(int width, int height, int left, int top, int right, int bottom);
