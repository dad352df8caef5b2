#include "workspacelayout.h"

namespace {
// The oval is 300/450 of the frame's height and keeps the proportion 2145 : 3000.
constexpr double OvalHeightRatio = 300.0 / 450.0;
constexpr double OvalAspect = 2145.0 / 3000.0;
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

    const double ovalHeight = OvalHeightRatio * FH;
    const double ovalWidth = OvalAspect * ovalHeight;
    out.oval = QRectF(L + (FW - ovalWidth) / 2, T + (FH - ovalHeight) / 3, ovalWidth, ovalHeight);

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
