#pragma once
// The description written beside a sprite sheet: the JSON-hash layout that
// sprite-sheet tools and game engines read ("frames" keyed by frame name,
// each with "frame", "rotated", "trimmed", "spriteSourceSize" and
// "sourceSize"; "meta" with "image", "size", "format" and "scale"), and per
// frame, under "s16", the icon's record and the icon whose data it shares,
// so that an unchanged sheet builds back into the same S16 bytes.

#include <string>
#include <string_view>
#include <vector>

#include "sprite/S16Icon.h"

class S16Image;
struct SheetLayout;

struct SheetFrame {
    std::string name;
    // Where the frame lies in the sheet ("frame").
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    // Where the frame's pixels go in the whole icon ("spriteSourceSize" x, y)
    // and the icon's size ("sourceSize").
    int offsetX = 0;
    int offsetY = 0;
    int sourceWidth = 0;
    int sourceHeight = 0;
    // What "s16" holds, when the frame has it.
    bool described = false;
    int icon = 0;  // number in the set, 1-based
    S16Icon record;
    int sharesDataOf = 0;  // the icon whose coded data this one uses; 0 for none
};

struct SheetDescription {
    std::string image;
    int width = 0;
    int height = 0;
    std::string format = "RGBA8888";
    // In icon order when written; ParseSheetJson puts described frames in
    // icon order and the others after them in name order.
    std::vector<SheetFrame> frames;
};

// The description of `image`'s icons laid out as `layout`; frame k is named
// `frameStem` + "_%03d" + `frameExtension`.
SheetDescription DescribeSheet(const S16Image& image, const SheetLayout& layout,
                               const std::string& imageName, const std::string& frameStem,
                               const std::string& frameExtension);

std::string SheetJsonText(const SheetDescription& description);

// Reads a description. False, with `problem` saying what is wrong (naming the
// frame), for text that is no JSON, lacks a field, holds a number out of
// range, or describes frames no icon can have. Frames are not checked
// against the picture here.
bool ParseSheetJson(std::string_view text, SheetDescription& out, std::string& problem);
