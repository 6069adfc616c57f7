#include "app/ToolIcons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

#include "app/CommandIds.h"

namespace {

// Related commands share a colour: tools, archive, view, extraction, editing.
QColor TileColour(int id) {
    switch (id) {
        case kCmdS16Maker:
        case kCmdS16Tool:
        case kCmdDatTool:
        case kCmdShpImport:
            return QColor(70, 110, 170);
        case kCmdOpen:
        case kCmdRepack:
        case kCmdUnpack:
            return QColor(60, 140, 90);
        case kCmdExtract:
        case kCmdExtractFiltered:
        case kCmdSaveIcon:
        case kCmdSaveAllIcons:
            return QColor(170, 120, 40);
        case kCmdReplace:
        case kCmdRemove:
        case kCmdAdd:
            return QColor(170, 60, 60);
        default:
            return QColor(110, 110, 130);
    }
}

}  // namespace

QIcon ToolIcon(int commandId) {
    const CommandText* text = FindCommandText(commandId);
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(TileColour(commandId));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
    painter.setPen(Qt::white);
    QFont font("DejaVu Sans");
    font.setPixelSize(text && std::char_traits<char>::length(text->glyph) > 2 ? 8 : 11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text ? text->glyph : "");
    return QIcon(pixmap);
}
