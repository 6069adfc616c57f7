#include "sprite/IconPictures.h"

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Image.h"
#include "sprite/SheetBuild.h"
#include "sprite/SpriteSheet.h"
#include "sprite/SpriteSheetJson.h"
#include "support/DurabilityBatch.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"

namespace {

using What = IconPictureRequest::What;

// The one picture a request asks for, into its file or its bytes.
bool Deliver(const PixelBuffer24& picture, const IconPictureRequest& request) {
    if (request.bytes != nullptr)
        return EncodePictureFile(picture, request.style, "standard output", *request.bytes);
    return WritePictureFile(picture, request.style, request.output);
}

bool SaveOneIcon(S16Image& image, const std::string& name, const IconPictureRequest& request) {
    if (request.icon < 1 || request.icon > image.IconCount()) {
        ShowError("Icon %d is not in %s (%d icons)", request.icon, name.c_str(), image.IconCount());
        return false;
    }
    image.SelectIcon(request.icon);
    if (image.DecodeIcon() < 1) {
        ShowError("Icon %d of %s cannot be decoded", request.icon, name.c_str());
        return false;
    }
    return Deliver(image, request);
}

bool SaveEveryIcon(S16Image& image, const std::string& name, const IconPictureRequest& request) {
    const int count = image.IconCount();
    const std::string type = PictureTypeName(request.style.type);
    int failures = 0;
    DurabilityBatch batch;  // one flush to disk for all files, before the count is told
    for (int k = 1; k <= count; ++k) {
        image.SelectIcon(k);
        if (image.DecodeIcon() < 1) {
            ShowError("Icon %d of %s cannot be decoded", k, name.c_str());
            ++failures;
            continue;
        }
        const std::string path = IconPicturePath(request.output, k, request.style.type);
        if (!WritePictureFile(image, request.style, path, &batch)) ++failures;
    }
    if (!batch.MakeDurable()) failures = count;
    if (failures == 0) {
        ShowInfo("Done, All %d icons saved as %s", count, type.c_str());
    } else {
        ShowError("Error: %d / %d icons were not saved as %s\n", failures, count, type.c_str());
    }
    return failures == 0;
}

bool SaveCollage(S16Image& image, const std::string& name, const IconPictureRequest& request) {
    PixelBuffer24 collage;
    if (!ComposeCollage(image, Rect{0, 0, request.width, request.height}, request.first, collage)) {
        ShowError("No icon of %s fits in %dx%d", name.c_str(), request.width, request.height);
        return false;
    }
    return Deliver(collage, request);
}

bool SaveSheet(S16Image& image, const std::string& name, const IconPictureRequest& request) {
    const std::string jsonPath = SheetDescriptionPath(request.output);
    if (jsonPath == request.output) {
        ShowError(
            "%s would be both the sheet and its description: give the sheet another "
            "extension",
            request.output.c_str());
        return false;
    }
    SheetLayout layout;
    std::string problem;
    if (!LayOutSheet(image.Table(), request.columns, layout, problem)) {
        ShowError("%s cannot become a sheet: %s", name.c_str(), problem.c_str());
        return false;
    }
    PixelBuffer24 sheet;
    int failedIcon = 0;
    if (!ComposeSheet(image, layout, sheet, failedIcon)) {
        if (failedIcon > 0)
            ShowError("Icon %d of %s cannot be decoded", failedIcon, name.c_str());
        else
            ReportOutOfMemory(FormatText("Making a sheet of %s", name.c_str()));
        return false;
    }
    const std::string& output = request.output;
    SheetDescription description =
        DescribeSheet(image, layout, SplitPath(output, kPathFileName),
                      SplitPath(output, kPathBaseName), PictureExtension(request.style.type));
    if (request.style.type == PictureType::kBmp) description.format = "RGB888";
    const std::string text = SheetJsonText(description);
    DurabilityBatch batch;
    if (!WritePictureFile(sheet, request.style, output, &batch) ||
        !WriteWholeFile(jsonPath, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                        &batch) ||
        !batch.MakeDurable())
        return false;
    ShowInfo("%s: %d icons in %d columns of %d x %d pixels, described in %s", output.c_str(),
             layout.count, layout.columns, layout.cellWidth, layout.cellHeight, jsonPath.c_str());
    return true;
}

}  // namespace

std::string IconPicturePath(const std::string& basePath, int number, PictureType type) {
    return FormatText("%s_%03d%s", SplitPath(basePath, kPathWithoutExt).c_str(), number,
                      PictureExtension(type).c_str());
}

bool SaveIconPictures(S16Image& image, const std::string& name, const IconPictureRequest& request) {
    const int remembered = image.CurrentIconNumber();
    bool ok = false;
    switch (request.what) {
        case What::kIcon:
            ok = SaveOneIcon(image, name, request);
            break;
        case What::kAll:
            ok = SaveEveryIcon(image, name, request);
            break;
        case What::kCollage:
            ok = SaveCollage(image, name, request);
            break;
        case What::kSheet:
            ok = SaveSheet(image, name, request);
            break;
    }
    image.SelectIcon(remembered);
    return ok;
}
