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
    out.shape1 = QRectF(in.shape1Left, T, FW - 2 * B, FH - 2 * B);

    const double ovalHeight = OvalHeightRatio * FH;
    const double ovalWidth = OvalAspect * ovalHeight;
    out.shape2 = QRectF(L + (FW - ovalWidth) / 2, T + (FH - ovalHeight) / 3, ovalWidth, ovalHeight);

    out.label1 = QPointF(L + (FW - in.label1.width()) / 2, T + (FH - in.label1.height()) / 2);

    out.command3 = QPointF(L + FW + ButtonGap, T + FH - 2 * in.command3.height() - ButtonGap);
    out.command4 = QPointF(L + FW + ButtonGap, T + FH - in.command4.height());

    const double upDownLeft = L + (FW - in.command5.width()) / 2;
    out.command5 = QPointF(upDownLeft, in.command5Top);
    out.command6 = QPointF(upDownLeft, T + FH + ButtonGap);

    const double sideTop = T + (FH - in.command7.height()) / 2;
    out.command7 = QPointF(L + FW + ButtonGap, sideTop);
    out.command8 = QPointF(in.command8Left, sideTop);
    return out;
}
