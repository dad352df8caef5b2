#include "workspacelayout.h"

namespace {
constexpr double ButtonGap = 20;
} // namespace

WorkspacePlacement placeWorkspace(const WorkspaceLayoutInput &in)
{
    const double L = in.frame.left();
    const double T = in.frame.top();
    const double FW = in.frame.width();
    const double FH = in.frame.height();
    const double B = in.outlineWidth;

    WorkspacePlacement out;
    out.outline = QRectF(in.outlineLeft, T, FW - 2 * B, FH - 2 * B);

    out.oval = in.oval.translated(L, T);

    out.dropLabel
        = QPointF(L + (FW - in.dropLabel.width()) / 2, T + (FH - in.dropLabel.height()) / 2);

    out.zoomIn = QPointF(L + FW + ButtonGap, T + FH - 2 * in.zoomIn.height() - ButtonGap);
    out.zoomOut = QPointF(L + FW + ButtonGap, T + FH - in.zoomOut.height());

    const double upDownLeft = L + (FW - in.moveUp.width()) / 2;
    out.moveUp = QPointF(upDownLeft, in.moveUpTop);
    out.moveDown = QPointF(upDownLeft, T + FH + ButtonGap);

    const double sideTop = T + (FH - in.moveRight.height()) / 2;
    out.moveRight = QPointF(L + FW + ButtonGap, sideTop);
    out.moveLeft = QPointF(in.moveLeftLeft, sideTop);
    return out;
}
