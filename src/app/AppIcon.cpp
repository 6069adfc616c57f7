#include "app/AppIcon.h"

QIcon ApplicationIcon() {
    // The sizes data/CMakeLists.txt draws into the appicon resource.
    static const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    for (const int size : kSizes)
        icon.addFile(QStringLiteral(":/appicon/%1x%1/apps/varnok-dat-tool.png").arg(size),
                     QSize(size, size));
    return icon;
}
