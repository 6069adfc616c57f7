#include "shp/ShpVerify.h"

#include "shp/ShpImage.h"
#include "support/Messages.h"

bool VerifyShpFile(const std::string& path, FileCheck& check) {
    ShpImage image;
    if (!image.Open(path)) {
        ReportOpenError(path);
        return false;
    }
    const std::string table = image.TableProblem();
    if (!table.empty()) {
        check.problems.push_back({{}, 0, table});
        return true;
    }
    for (int k = 1; k <= image.FrameCount(); ++k) {
        image.SelectFrame(k);
        const ShpFrameHeader header = image.CurrentHeader();
        // The frame reader takes 2 x 2 and up; a frame of one column or row
        // is only converted, which takes any rows it finds.
        if (header.Width() < 2 || header.Height() < 2) continue;
        ++check.icons;
        if (image.DecodeFrame() < 1)
            check.problems.push_back({{}, k, "its rows give no pixel: it cannot be decoded"});
    }
    return true;
}
